#pragma once

#include <QByteArray>
#include <QWidget>

class QTextBrowser;

namespace mitoon {

// The help viewer command the program gives: HELP_CONTENTS, open the file at its contents.
inline constexpr unsigned kHelpContents = 3;

// Our stand-in for the platform's help viewer: one help window that shows a help file, an
// HTML document, from its top. It belongs to the platform, not to the program: a file it cannot
// show gets the viewer's own message inside the viewer, and it does not keep the program
// running once the program's own windows are closed.
class HelpViewer : public QWidget
{
    Q_OBJECT
public:
    // The help window, created when there is none.
    static HelpViewer *instance();
    // The help window when one is open, else null.
    static HelpViewer *current();

    // Shows the help file at `localPath` from its top; `shownPath` is the name the user knows.
    // Returns false when the file could not be read; the window then says so.
    bool showContents(const QString &shownPath, const QString &localPath);

    QTextBrowser *browser() const { return browser_; }

private:
    HelpViewer();

    QTextBrowser *browser_;
};

// The call into the help viewer, in the manner of WinHelpA: `helpFile` is the help file's
// Windows path in the system code page (Shift-JIS), `data` points at the command's argument.
// Returns whether the viewer did what the command asked.
bool winHelp(QWidget *owner, const QByteArray &helpFile, unsigned command, const void *data);

} // namespace mitoon
