#include "records/printing.h"

#include "app/appinfo.h"
#include "platform/drivepath.h"
#include "platform/fonts.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

namespace mitoon::printing {

QString fallbackPdfPath(const QString &fileName)
{
    return drive::documentsFolder() + u'/' + fileName;
}

bool askToPrint(QWidget *parent, QPrinter &printer, const QString &pdfFileName, Pages pages)
{
    const bool printerInstalled = !QPrinterInfo::availablePrinterNames().isEmpty();
    if (!printerInstalled) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(fallbackPdfPath(pdfFileName));
    }
    QPrintDialog dialog(&printer, parent);
    // Printing to a file only stands in for a missing printer.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, !printerInstalled);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, pages == Pages::chosen);
    return dialog.exec() == QDialog::Accepted;
}

bool printText(QPrinter &printer, const QString &text)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;

    // Laid out for the printer's resolution, in the face the records window shows.
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&printer);
    document.setDefaultFont(fonts::font(fonts::kPGothic, kTextPointSize));
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

void tellFailure(QWidget *parent, const QPrinter &printer)
{
    const QString target =
        printer.outputFileName().isEmpty()
            ? QString()
            : QStringLiteral("「%1」").arg(QDir::toNativeSeparators(printer.outputFileName()));
    QMessageBox::warning(parent, appTitle(),
                         QStringLiteral("%1に印刷できませんでした。").arg(target));
}

} // namespace mitoon::printing
