#include "platform/helpviewer.h"

#include "platform/drivepath.h"
#include "platform/formkit.h"
#include "platform/shiftjis.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace mitoon {

namespace {

QPointer<HelpViewer> &viewer()
{
    static QPointer<HelpViewer> window;
    return window;
}

const QString kViewerTitle = QStringLiteral("ヘルプ");

} // namespace

HelpViewer *HelpViewer::instance()
{
    if (!viewer())
        viewer() = new HelpViewer;
    return viewer();
}

HelpViewer *HelpViewer::current()
{
    return viewer();
}

HelpViewer::HelpViewer() : browser_(new QTextBrowser(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    // The program ends with its own last window, whether or not its help is still open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(kViewerTitle);
    setWindowIcon(formkit::programIcon());
    browser_->setOpenExternalLinks(true);
    browser_->setFont(formkit::font(formkit::kPGothic, 11));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 720);
}

bool HelpViewer::showContents(const QString &shownPath, const QString &localPath)
{
    QFile file(localPath);
    const bool readable = !localPath.isEmpty() && file.open(QIODevice::ReadOnly);
    const QByteArray bytes = readable ? file.readAll() : QByteArray();
    const bool ok = readable && file.error() == QFileDevice::NoError;
    if (ok) {
        QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
        if (!decoder.isValid())
            decoder = QStringDecoder(QStringDecoder::Utf8);
        browser_->setHtml(decoder.decode(bytes));
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? kViewerTitle : title);
    } else {
        const QString reason = QFileInfo::exists(localPath) ? QStringLiteral("を開けませんでした。")
                                                            : QStringLiteral("が見つかりません。");
        browser_->setPlainText(
            QStringLiteral("ヘルプ ファイル %1 %2\n（%3）").arg(shownPath, reason, localPath));
        setWindowTitle(kViewerTitle);
    }
    browser_->verticalScrollBar()->setValue(0);
    show();
    raise();
    activateWindow();
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
