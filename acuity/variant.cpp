#include "acuity/variant.h"

#include <cmath>

namespace mitoon {

Variant Variant::integer(std::int16_t value)
{
    Variant v;
    v.kind_ = Kind::Integer;
    v.integer_ = value;
    v.number_ = value;
    return v;
}

Variant Variant::single(float value)
{
    Variant v;
    v.kind_ = Kind::Single;
    v.number_ = value;
    return v;
}

Variant Variant::number(double value)
{
    Variant v;
    v.kind_ = Kind::Double;
    v.number_ = value;
    return v;
}

Variant Variant::text(const QString &value)
{
    Variant v;
    v.kind_ = Kind::Text;
    v.text_ = value;
    return v;
}

std::optional<double> Variant::toNumber(const QLocale &locale) const
{
    switch (kind_) {
    case Kind::Empty:
        return 0.0;
    case Kind::Integer:
    case Kind::Single:
    case Kind::Double:
        return number_;
    case Kind::Text:
        return parseLocaleNumber(text_, locale);
    }
    return std::nullopt;
}

QString Variant::toText(const QLocale &locale) const
{
    switch (kind_) {
    case Kind::Empty:
        return {};
    case Kind::Integer:
        return QString::number(integer_);
    case Kind::Single:
        return formatGeneral(number_, 7, locale);
    case Kind::Double:
        return formatGeneral(number_, 15, locale);
    case Kind::Text:
        return text_;
    }
    return {};
}

std::partial_ordering Variant::compare(double other, const QLocale &locale) const
{
    const std::optional<double> value = toNumber(locale);
    if (!value)
        return std::partial_ordering::unordered;
    return *value <=> other;
}

} // namespace mitoon
