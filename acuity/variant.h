#pragma once

#include "platform/numbers.h"

#include <QLocale>
#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

namespace mitoon {

// The dynamically typed value that most test variables hold: nothing, a 16-bit integer, a
// single or double precision number, or a text. Empty counts as 0 against a number; a text
// takes part in comparisons and arithmetic through its numeric value in the user's locale.
class Variant
{
public:
    enum class Kind { Empty, Integer, Single, Double, Text };

    Variant() = default;
    static Variant integer(std::int16_t value);
    static Variant single(float value);
    static Variant number(double value);
    static Variant text(const QString &value);

    Kind kind() const { return kind_; }
    bool isEmpty() const { return kind_ == Kind::Empty; }

    // The numeric value: 0 for empty, the parsed number for a text; nothing for a text that is
    // not a number: such a text compares with no number and takes part in no arithmetic.
    std::optional<double> toNumber(const QLocale &locale = QLocale()) const;

    // The text form: empty for empty, the general number format for numbers.
    QString toText(const QLocale &locale = QLocale()) const;

    // Compares with a number; unordered when the value is a text that is not a number.
    std::partial_ordering compare(double other, const QLocale &locale = QLocale()) const;
    bool equals(double other) const { return compare(other) == std::partial_ordering::equivalent; }

    std::int16_t integerValue() const { return integer_; }

private:
    Kind kind_ = Kind::Empty;
    std::int16_t integer_ = 0;
    double number_ = 0.0; // single values are kept exactly as the float they are
    QString text_;
};

} // namespace mitoon
