#pragma once

#include <QString>

class QPrinter;

// Printing the records window's text.
namespace mitoon::recordprinter {

inline constexpr double kPointSize = 14.0;

// Readies `printer` for the print dialog. Without any installed printer the dialog could only
// accept and print nothing, so the printer is turned into a PDF file in the user's documents
// folder (the home folder when there is none), which the dialog offers instead.
// Returns whether a printer is installed.
bool prepare(QPrinter &printer);

// Where the PDF file goes when no printer is installed.
QString fallbackPdfPath();

// Prints `text` on `printer` in 14-point type, line after line and page after page, within the
// pages the print dialog chose. Returns false when the printer could not print.
bool print(QPrinter &printer, const QString &text);

} // namespace mitoon::recordprinter
