#include "platform/numbers.h"

#include <cmath>

namespace mitoon {

std::optional<double> parseLocaleNumber(const QString &text, const QLocale &locale)
{
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString formatGeneral(double value, int significantDigits, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'g', significantDigits);
}

bool isPositiveFinite(double value)
{
    return std::isfinite(value) && value > 0.0;
}

} // namespace mitoon
