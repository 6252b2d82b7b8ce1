#include "records/recordformat.h"

#include "fileio/shiftjis.h"

#include <utility>

namespace mitoon::recordformat {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

// An empty field is written as nothing at all, not as "".
QString optionalText(const QString &text)
{
    return text.isEmpty() ? QString() : quoted(text);
}

} // namespace

Clock systemClock()
{
    return [] { return QDateTime::currentDateTime(); };
}

QString headerText()
{
    return QStringLiteral("    日   付       時   刻   左目 右目");
}

QByteArray headerLine()
{
    return shiftjis::encode(quoted(headerText()) + kLineEnd).value();
}

QByteArray recordLine(const QDateTime &savedAt, const QString &hidarikekka,
                      const QString &migikekka)
{
    const QString line = u'#' + savedAt.date().toString(u"yyyy-MM-dd") + u'#' + u',' +
                         quoted(savedAt.time().toString(u"HH:mm:ss")) + u',' +
                         optionalText(hidarikekka) + u',' + optionalText(migikekka) + kLineEnd;
    return shiftjis::encodeReplacing(line);
}

LineSplitter::LineSplitter(qsizetype longest) : longest_(qMax<qsizetype>(longest, 2)) {}

void LineSplitter::feed(QStringView text, QStringList *lines)
{
    qsizetype start = 0;
    if (afterCr_ && !text.isEmpty()) {
        afterCr_ = false;
        if (text.front() == u'\n')
            start = 1;
    }
    while (start < text.size()) {
        const qsizetype cr = text.indexOf(u'\r', start);
        if (cr < 0) {
            extend(text.sliced(start), lines);
            return;
        }
        extend(text.sliced(start, cr - start), lines);
        lines->append(std::exchange(partial_, QString()));
        start = cr + 1;
        if (start == text.size())
            afterCr_ = true;
        else if (text[start] == u'\n')
            ++start;
    }
}

void LineSplitter::extend(QStringView text, QStringList *lines)
{
    while (partial_.size() + text.size() > longest_) {
        const qsizetype take = longest_ - partial_.size();
        partial_ += text.first(take);
        text = text.sliced(take);
        // A character of two UTF-16 units stays whole: its first unit goes to the next line.
        QString next;
        if (partial_.back().isHighSurrogate()) {
            next = partial_.back();
            partial_.chop(1);
        }
        lines->append(std::exchange(partial_, next));
    }
    partial_ += text;
}

void LineSplitter::finish(QStringList *lines)
{
    if (!partial_.isEmpty())
        lines->append(std::exchange(partial_, QString()));
    afterCr_ = false;
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    LineSplitter splitter;
    splitter.feed(text, &lines);
    splitter.finish(&lines);
    return lines;
}

QString displayText(const QStringList &lines)
{
    QString text;
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + kLineEnd.size();
    text.reserve(size);
    for (const QString &line : lines)
        text += line + kLineEnd;
    return text;
}

} // namespace mitoon::recordformat
