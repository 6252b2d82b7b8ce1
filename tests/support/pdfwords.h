#pragma once

#include <QList>
#include <QString>

#include <optional>

// The words of a PDF file with their boxes, as poppler's pdftotext -bbox reads them.
namespace mitoon::testing {

struct PdfWord
{
    int page = 0; // from 1
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0; // in points

    double height() const { return yMax - yMin; }
};

// Nothing when pdftotext fails or the file is no PDF.
std::optional<QList<PdfWord>> readPdfWords(const QString &pdfPath);

} // namespace mitoon::testing
