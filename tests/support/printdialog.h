#pragma once

#include "support/modalwatch.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QPrintDialog>

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

} // namespace mitoon::testing
