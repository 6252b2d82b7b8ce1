#include "app/menucommands.h"

#include "app/appinfo.h"
#include "fileio/shiftjis.h"
#include "graph/frmGurafu.h"
#include "platform/helpviewer.h"
#include "platform/onewindow.h"
#include "records/frmHyouji.h"
#include "records/recordfile.h"

#include <QMessageBox>

#include <cstdint>
#include <optional>

namespace mitoon::menucommands {

QString noHelpMessage()
{
    return QStringLiteral("ﾍﾙﾌﾟの目次を表示できません。 "
                          "このﾌﾟﾛｼﾞｪｸﾄに関連付けられたﾍﾙﾌﾟが存在しません。");
}

QString noWindowMessage()
{
    return QStringLiteral("オブジェクト変数または With ブロック変数が設定されていません。");
}

QString unconvertiblePathMessage(const QString &helpFile)
{
    return QStringLiteral("ヘルプ ファイルのパス %1 には、システムの文字コード (Shift-JIS) で"
                          "表せない文字が含まれています。")
        .arg(helpFile);
}

void mnuFileOpen()
{
    bringToFront(frmHyouji::instance());
}

void mnuFileGurafu(const QWidget *mainWindow)
{
    frmGurafu::open(mainWindow);
}

bool saveResults(QWidget *parent, const QString &hidarikekka, const QString &migikekka,
                 const recordformat::Clock &clock)
{
    const fileio::Result outcome =
        RecordFile::standard().appendRecord(hidarikekka, migikekka, clock);
    if (outcome.ok())
        return true;
    QMessageBox::warning(
        parent, appTitle(),
        outcome.message() + QStringLiteral("\n\n測定結果は消えていません。"
                                           "フォルダーを確かめてから、もう一度保存してください。"));
    return false;
}

namespace {

// The call into the viewer. Returns the description of the error the call raised, if any;
// the viewer's own result is not looked at.
std::optional<QString> callHelpViewer(QWidget *mainWindow, const QString &helpFile)
{
    if (!mainWindow)
        return noWindowMessage();
    // The viewer is called the way the platform's help viewer is, with the path in the system
    // code page: the round trip through Shift-JIS looks needless here, but it is what tells a
    // help-file path that the code page cannot hold (unconvertiblePathMessage).
    const std::optional<QByteArray> path = shiftjis::encode(helpFile);
    if (!path)
        return unconvertiblePathMessage(helpFile);
    const std::int16_t zero = 0;
    [[maybe_unused]] const bool shown = winHelp(mainWindow, *path, kHelpContents, &zero);
    return std::nullopt;
}

} // namespace

void openHelpContents(QWidget *mainWindow, const QString &helpFileProperty)
{
    if (helpFileProperty.isEmpty()) {
        QMessageBox::information(mainWindow, mainWindow ? mainWindow->windowTitle() : appTitle(),
                                 noHelpMessage());
        return;
    }
    if (const std::optional<QString> error = callHelpViewer(mainWindow, helpFileProperty)) {
        QMessageBox box(QMessageBox::NoIcon, appTitle(), *error, QMessageBox::Ok, mainWindow);
        box.exec();
    }
}

} // namespace mitoon::menucommands
