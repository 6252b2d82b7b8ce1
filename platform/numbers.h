#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// Numbers as the platform reads and writes them for the user: typed in the user's locale, and
// in the general number format. Also the one check for a value that stands for a size or a
// distance.
namespace mitoon {

// Reads a decimal number the way a user types it in their locale; surrounding blanks are
// allowed, group separators and words are not.
std::optional<double> parseLocaleNumber(const QString &text, const QLocale &locale = QLocale());

// The general number format: at most `significantDigits` significant digits, no trailing zeros,
// no decimal point for a whole number, the locale's decimal separator.
QString formatGeneral(double value, int significantDigits = 15, const QLocale &locale = QLocale());

// A value that can stand for a size or a distance: a positive finite number.
bool isPositiveFinite(double value);

} // namespace mitoon
