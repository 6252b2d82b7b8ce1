#include "records/recordprinter.h"

#include "platform/fonts.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTextDocument>

namespace mitoon::recordprinter {

QString fallbackPdfPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return folder + QStringLiteral("/mitoon.pdf");
}

bool prepare(QPrinter &printer)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        return true;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fallbackPdfPath());
    return false;
}

bool print(QPrinter &printer, const QString &text)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;

    // Laid out for the printer's resolution, in the face the records window shows.
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&printer);
    document.setDefaultFont(fonts::font(fonts::kPGothic, kPointSize));
    document.setDocumentMargin(0);
    document.setPlainText(text);
    const QSizeF page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    document.setPageSize(page);

    const int pageCount = document.pageCount();
    const int first = printer.fromPage() > 0 ? printer.fromPage() : 1;
    const int last = printer.toPage() > 0 ? qMin(printer.toPage(), pageCount) : pageCount;
    for (int number = first; number <= last; ++number) {
        if (number > first && !printer.newPage())
            return false;
        const QRectF clip(0, (number - 1) * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -clip.top());
        document.drawContents(&painter, clip);
        painter.restore();
    }
    return painter.end();
}

} // namespace mitoon::recordprinter
