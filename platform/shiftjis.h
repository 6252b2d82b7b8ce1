#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// The system code page of the record file and the help path: Shift-JIS as Windows has it
// (code page 932, so "～" is 81 60 and "①" is 87 40, and 5C stays a backslash).
namespace mitoon::shiftjis {

// The bytes of `text`, or nothing when a character has no code in the code page.
std::optional<QByteArray> encode(QStringView text);

// The bytes of `text`, with '?' for each character that has no code, as the system's own
// conversion to its code page does.
QByteArray encodeReplacing(QStringView text);

// The text of `bytes`. A byte sequence that is not Shift-JIS shows as U+FFFD.
QString decode(QByteArrayView bytes);

} // namespace mitoon::shiftjis
