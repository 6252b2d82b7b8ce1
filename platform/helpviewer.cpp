#include "platform/helpviewer.h"

#include "fileio/outsidefile.h"
#include "fileio/shiftjis.h"
#include "platform/drivepath.h"
#include "platform/fonts.h"
#include "platform/onewindow.h"
#include "platform/pictures.h"

#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <cerrno>

namespace mitoon {

namespace {

OneWindow<HelpViewer> &kept()
{
    static OneWindow<HelpViewer> window;
    return window;
}

const QString kViewerTitle = QStringLiteral("ヘルプ");

} // namespace

HelpViewer *HelpViewer::instance()
{
    return kept().getOrMake([] { return new HelpViewer; });
}

HelpViewer *HelpViewer::current()
{
    return kept().get();
}

HelpViewer::HelpViewer() : browser_(new QTextBrowser(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    // The program ends with its own last window, whether or not its help is still open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(kViewerTitle);
    setWindowIcon(pictures::programIcon());
    browser_->setOpenExternalLinks(true);
    browser_->setFont(fonts::font(fonts::kPGothic, 11));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 720);
}

bool HelpViewer::showContents(const QString &shownPath, const QString &localPath)
{
    // A path on no drive of this machine names no file.
    const outsidefile::Contents contents =
        localPath.isEmpty() ? outsidefile::Contents{{}, fileio::Result::failure(ENOENT)}
                            : outsidefile::read(localPath, outsidefile::kHelpLimit);
    const bool ok = contents.result.ok();
    if (ok) {
        QStringDecoder decoder = QStringDecoder::decoderForHtml(contents.bytes);
        if (!decoder.isValid())
            decoder = QStringDecoder(QStringDecoder::Utf8);
        browser_->setHtml(decoder.decode(contents.bytes));
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? kViewerTitle : title);
    } else {
        const QString reason =
            contents.result.error() == ENOENT
                ? QStringLiteral("が見つかりません。")
                : QStringLiteral("を開けませんでした。理由: %1。").arg(contents.result.reason());
        browser_->setPlainText(
            QStringLiteral("ヘルプ ファイル %1 %2\n（%3）").arg(shownPath, reason, localPath));
        setWindowTitle(kViewerTitle);
    }
    browser_->verticalScrollBar()->setValue(0);
    bringToFront(this);
    return ok;
}

bool winHelp(QWidget *owner, const QByteArray &helpFile, unsigned command, const void *data)
{
    Q_UNUSED(data);
    if (command != kHelpContents)
        return false;
    const QString windowsPath = shiftjis::decode(helpFile);
    HelpViewer *window = HelpViewer::instance();
    // The help goes away with the window that asked for it.
    if (owner)
        QObject::connect(owner, &QObject::destroyed, window, &QWidget::close, Qt::UniqueConnection);
    return window->showContents(windowsPath, drive::localPath(windowsPath));
}

} // namespace mitoon
