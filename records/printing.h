#pragma once

#include <QString>

class QPrinter;
class QWidget;

// Printing from the records window and the graph window: the print dialog, the records' text
// in 14-point type, and what the user is told when printing fails.
namespace mitoon::printing {

inline constexpr double kTextPointSize = 14.0;

// Where a PDF file named `fileName` goes when no printer is installed: the documents folder.
QString fallbackPdfPath(const QString &fileName = QStringLiteral("mitoon.pdf"));

// Whether the dialog lets the user choose pages, or the document is printed whole.
enum class Pages { chosen, whole };

// Shows the print dialog for `printer` under `parent`; true when the user accepted it. Without
// any installed printer the dialog could only accept and print nothing, so the printer is
// turned into the PDF file `pdfFileName` in the documents folder, which the dialog offers
// instead.
bool askToPrint(QWidget *parent, QPrinter &printer, const QString &pdfFileName, Pages pages);

// Prints `text` on `printer` in 14-point type, line after line and page after page, within the
// pages the print dialog chose. Returns false when the printer could not print.
bool printText(QPrinter &printer, const QString &text);

// Tells the user, in a message box under `parent`, that nothing or not all was printed on
// `printer` (naming the PDF file when it printed to one).
void tellFailure(QWidget *parent, const QPrinter &printer);

} // namespace mitoon::printing
