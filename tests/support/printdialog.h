#pragma once

#include "support/modalwatch.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace mitoon::testing {

// The dialog's "Print" button, which checks the output file before it accepts. The printer
// properties sheet inside the dialog has a button box of its own.
inline QAbstractButton *acceptButton(QDialog *dialog)
{
    for (const auto *buttons : dialog->findChildren<QDialogButtonBox *>())
        for (QAbstractButton *button : buttons->buttons())
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole &&
                buttons->window() == dialog)
                return button;
    return nullptr;
}

// Prints with the print dialog's own choice once it comes up; any other modal window is
// closed. `printToFileOffered` tells whether the dialog offered printing to a file.
inline void acceptPrintDialog(bool &printToFileOffered)
{
    whenModal([&printToFileOffered](QWidget *modal) {
        auto *dialog = qobject_cast<QPrintDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        printToFileOffered = dialog->testOption(QAbstractPrintDialog::PrintToFile);
        acceptButton(dialog)->click();
    });
}

// What a window tells in a message box when `printTo` fails to print on a PDF printer whose file
// `pdfPath` cannot be written; empty when it told nothing. `printed` is what printTo returned.
template <typename PrintTo>
QString toldOfFailedPrint(const QString &pdfPath, PrintTo printTo, bool &printed)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    QString told;
    whenModal([&told](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            told = box->text();
        modal->close();
    });
    printed = printTo(printer);
    return told;
}

} // namespace mitoon::testing
