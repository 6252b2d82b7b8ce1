// Fuzzes the reading of the record file: Shift-JIS decoding and the splitting into lines, as
// the records window does with whatever bytes are in the file.
#include "fileio/shiftjis.h"
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
    // The records window's splitting: in two parts, anywhere, with a longest line; the same
    // lines whatever the parts, none longer than the longest, the text whole.
    if (!text.isEmpty()) {
        const qsizetype cut = qsizetype(data[size - 1]) % (text.size() + 1);
        QStringList parts;
        recordformat::LineSplitter splitter(7);
        splitter.feed(QStringView(text).first(cut), &parts);
        splitter.feed(QStringView(text).sliced(cut), &parts);
        splitter.finish(&parts);
        QStringList whole;
        recordformat::LineSplitter wholeSplitter(7);
        wholeSplitter.feed(text, &whole);
        wholeSplitter.finish(&whole);
        if (parts != whole)
            std::abort();
        for (const QString &line : parts)
            if (line.size() > 7)
                std::abort();
        if (parts.join(QString()) != lines.join(QString()))
            std::abort();
    }
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
