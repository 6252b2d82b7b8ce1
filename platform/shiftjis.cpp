#include "platform/shiftjis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace mitoon::shiftjis {

namespace {
// Qt's converter (ICU's Windows-compatible table) marks undecodable bytes with SUB rather
// than the replacement character.
constexpr char16_t kSubstitute = 0x1A;
} // namespace

std::optional<QByteArray> encode(QStringView text)
{
    QStringEncoder encoder("Shift_JIS");
    QByteArray bytes = encoder.encode(text);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes;
}

QByteArray encodeReplacing(QStringView text)
{
    if (std::optional<QByteArray> whole = encode(text))
        return *whole;
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        bytes += encode(text.mid(i, length)).value_or(QByteArrayLiteral("?"));
        i += length;
    }
    return bytes;
}

QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder("Shift_JIS");
    QString text = decoder.decode(bytes);
    // The table swaps the control bytes 1A, 1C and 7F the IBM way, so a DEL byte (which no
    // record line holds) comes out as SUB too and shows as U+FFFD like a broken sequence.
    text.replace(QChar(kSubstitute), QChar::ReplacementCharacter);
    return text;
}

} // namespace mitoon::shiftjis
