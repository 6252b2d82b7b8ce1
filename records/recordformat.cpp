#include "records/recordformat.h"

#include "platform/shiftjis.h"

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

QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start).toString());
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
