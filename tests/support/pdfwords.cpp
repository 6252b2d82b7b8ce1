#include "support/pdfwords.h"

#include <QProcess>
#include <QRegularExpression>

namespace mitoon::testing {

std::optional<QList<PdfWord>> readPdfWords(const QString &pdfPath)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-bbox"), pdfPath, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitStatus() != QProcess::NormalExit ||
        pdftotext.exitCode() != 0)
        return std::nullopt;
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());

    static const QRegularExpression item(QStringLiteral(
        R"re(<page\b|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<PdfWord> words;
    int page = 0;
    for (const QRegularExpressionMatch &match : item.globalMatch(html)) {
        if (match.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        PdfWord word;
        word.page = page;
        word.xMin = match.captured(1).toDouble();
        word.yMin = match.captured(2).toDouble();
        word.xMax = match.captured(3).toDouble();
        word.yMax = match.captured(4).toDouble();
        word.text = match.captured(5)
                        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                        .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        words.append(word);
    }
    return words;
}

} // namespace mitoon::testing
