#include "fileio/shiftjis.h"

#include <QStringEncoder>

namespace mitoon::shiftjis {

namespace {
// Qt's converter (ICU's Windows-compatible table) marks undecodable bytes with SUB rather
// than the replacement character.
constexpr char16_t kSubstitute = 0x1A;
constexpr char kName[] = "Shift_JIS";
} // namespace

std::optional<QByteArray> encode(QStringView text)
{
    QStringEncoder encoder(kName);
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
    Decoder decoder;
    QString text = decoder.decode(bytes);
    return text + decoder.finish();
}

Decoder::Decoder() : decoder_(kName) {}

QString Decoder::decode(QByteArrayView bytes)
{
    QString text = decoder_.decode(bytes);
    // The table swaps the control bytes 1A, 1C and 7F the IBM way, so a DEL byte (which no
    // record line holds) comes out as SUB too and shows as U+FFFD like a broken sequence.
    text.replace(QChar(kSubstitute), QChar::ReplacementCharacter);
    return text;
}

QString Decoder::finish()
{
    // The converter keeps a lead byte at the end to itself. A line end after it is no second
    // byte, so the lead byte comes out as SUB and the line end after it.
    QString rest = decode("\n");
    rest.chop(1);
    return rest;
}

} // namespace mitoon::shiftjis
