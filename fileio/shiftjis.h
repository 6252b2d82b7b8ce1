#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

#include <optional>

// The system code page: Shift-JIS as Windows has it (code page 932, so "～" is 81 60 and "①" is
// 87 40, and 5C stays a backslash). The record file is written in it, the registry's ANSI calls
// and the help viewer's path speak it.
namespace mitoon::shiftjis {

// The bytes of `text`, or nothing when a character has no code in the code page.
std::optional<QByteArray> encode(QStringView text);

// The bytes of `text`, with '?' for each character that has no code, as the system's own
// conversion to its code page does.
QByteArray encodeReplacing(QStringView text);

// The text of `bytes`. A byte sequence that is not Shift-JIS shows as U+FFFD, a lead byte at the
// very end included.
QString decode(QByteArrayView bytes);

// Decodes text that arrives in parts: a character whose two bytes lie in two parts comes out
// whole. Each part's text is what decode() gives for it; finish() ends the text.
class Decoder
{
public:
    Decoder();
    QString decode(QByteArrayView bytes);
    // The end of the text: a lead byte still waiting for its second byte shows as U+FFFD.
    QString finish();

private:
    QStringDecoder decoder_;
};

} // namespace mitoon::shiftjis
