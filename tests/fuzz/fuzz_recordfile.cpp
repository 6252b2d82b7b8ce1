// Fuzzes the reading of the record file: Shift-JIS decoding and the splitting into lines, as
// the records window does with whatever bytes are in the file.
#include "platform/shiftjis.h"
#include "records/recordformat.h"

#include <cstdint>
#include <cstdlib>

using namespace mitoon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = shiftjis::decode(bytes);
    // Read in two parts, anywhere, the bytes give the same text.
    if (!bytes.isEmpty()) {
        const qsizetype cut = qsizetype(data[0]) % (bytes.size() + 1);
        shiftjis::Decoder decoder;
        QString parts = decoder.decode(bytes.first(cut));
        parts += decoder.decode(bytes.sliced(cut));
        parts += decoder.finish();
        if (parts != text)
            std::abort();
    }
    const QStringList lines = recordformat::splitLines(text);
    for (const QString &line : lines)
        if (line.contains(u'\r'))
            std::abort(); // a CR always ends a line
    // What the window shows reads back as the same lines.
    const QString shown = recordformat::displayText(lines);
    if (recordformat::splitLines(shown) != lines)
        std::abort();
    // Text that came from Shift-JIS without errors goes back to the same text.
    if (!text.contains(QChar::ReplacementCharacter)) {
        const auto encoded = shiftjis::encode(text);
        if (!encoded || shiftjis::decode(*encoded) != text)
            std::abort();
    }
    return 0;
}
