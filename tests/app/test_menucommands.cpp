#include "app/appinfo.h"
#include "app/menucommands.h"
#include "platform/drivepath.h"
#include "platform/fonts.h"
#include "platform/helpviewer.h"
#include "platform/loadedforms.h"
#include "records/frmHyouji.h"
#include "records/recordformat.h"
#include "support/isolatedhome.h"
#include "support/modalwatch.h"
#include "support/recordfiletesting.h"
#include "support/testmain.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

#include <sys/stat.h>

using namespace mitoon;

namespace {

struct SeenBox
{
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Watches for the next modal window, notes what it says and closes it.
std::shared_ptr<SeenBox> watchForBox()
{
    auto box = std::make_shared<SeenBox>();
    testing::whenModal(
        [box](QWidget *modal) {
            box->seen = true;
            box->title = modal->windowTitle();
            if (auto *message = qobject_cast<QMessageBox *>(modal)) {
                box->text = message->text();
                box->icon = message->icon();
            }
            modal->close();
        },
        25);
    return box;
}

QString recordPath()
{
    return drive::localPath(drive::kRecordFile);
}
QString helpPath()
{
    return drive::localPath(drive::kHelpFile);
}

const auto kClock = [] { return QDateTime(QDate(2026, 12, 9), QTime(14, 3, 27)); };

} // namespace

class TestMenuCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> mainWindow_;

private slots:
    void init()
    {
        mainWindow_ = std::make_unique<QWidget>();
        mainWindow_->setWindowTitle(QStringLiteral("ミトーン(p_-)"));
        mainWindow_->show();
        QDir().mkpath(QFileInfo(recordPath()).path());
        QFile::remove(recordPath());
    }
    void cleanup()
    {
        for (QWidget *window : {static_cast<QWidget *>(frmHyouji::loaded()),
                                static_cast<QWidget *>(HelpViewer::current())})
            if (window)
                window->close();
        mainWindow_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void savingAppendsTheRecordLine()
    {
        QVERIFY(menucommands::saveResults(mainWindow_.get(), "0.8", "1.2", kClock));
        QVERIFY(menucommands::saveResults(mainWindow_.get(), "", "", kClock));
        QCOMPARE(testing::readBytes(recordPath()),
                 QByteArray("#2026-12-09#,\"14:03:27\",\"0.8\",\"1.2\"\r\n"
                            "#2026-12-09#,\"14:03:27\",,\r\n"));
    }

    void aFailedSaveSaysWhereAndWhy_data()
    {
        QTest::addColumn<bool>("folderInPlaceOfTheFile");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder")
            << false << QStringLiteral("そのようなファイルやフォルダーはありません");
        QTest::newRow("folder in place of the file")
            << true << QStringLiteral("同じ名前のフォルダーがあります");
    }
    void aFailedSaveSaysWhereAndWhy()
    {
        QFETCH(bool, folderInPlaceOfTheFile);
        QFETCH(QString, reason);
        if (folderInPlaceOfTheFile)
            QVERIFY(QDir().mkpath(recordPath()));
        else
            QVERIFY(QDir(QFileInfo(recordPath()).path()).removeRecursively());
        const auto box = watchForBox();
        QVERIFY(!menucommands::saveResults(mainWindow_.get(), "0.8", "1.2", kClock));
        QVERIFY(box->seen);
        QCOMPARE(box->title, appTitle());
        QCOMPARE(box->icon, QMessageBox::Warning);
        QVERIFY2(box->text.contains(drive::kRecordFile), qPrintable(box->text));
        QVERIFY(box->text.contains(recordPath()));
        QVERIFY(box->text.contains(reason));
        QDir(recordPath()).removeRecursively();
        // Once the folder is back, the same results save.
        QVERIFY(QDir().mkpath(QFileInfo(recordPath()).path()));
        QVERIFY(menucommands::saveResults(mainWindow_.get(), "0.8", "1.2", kClock));
    }

    void viewingTheRecordsShowsTheOneWindowAgain()
    {
        menucommands::mnuFileOpen();
        frmHyouji *first = frmHyouji::loaded();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->parentWidget(), nullptr);
        QVERIFY(!first->isModal());
        first->tojiru->click();
        menucommands::mnuFileOpen();
        menucommands::mnuFileOpen();
        QCOMPARE(frmHyouji::loaded(), first);
        QVERIFY(first->isVisible());
        int windows = 0;
        for (int i = 0; i < LoadedForms::count(); ++i)
            windows += qobject_cast<frmHyouji *>(LoadedForms::at(i)) ? 1 : 0;
        QCOMPARE(windows, 1);
    }

    void emptyHelpPropertyGetsTheInformationBox()
    {
        const auto box = watchForBox();
        menucommands::openHelpContents(mainWindow_.get(), QString());
        QVERIFY(box->seen);
        QCOMPARE(box->text, QStringLiteral("ﾍﾙﾌﾟの目次を表示できません。 "
                                           "このﾌﾟﾛｼﾞｪｸﾄに関連付けられたﾍﾙﾌﾟが存在しません。"));
        QCOMPARE(box->title, QStringLiteral("ミトーン(p_-)"));
        QCOMPARE(box->icon, QMessageBox::Information);
        QCOMPARE(HelpViewer::current(), nullptr);
    }

    void anErrorCallingTheViewerGetsItsDescription_data()
    {
        QTest::addColumn<bool>("withMainWindow");
        QTest::addColumn<QString>("helpFile");
        QTest::addColumn<QString>("description");
        const QString outside = QStringLiteral("C:\\Tool\\HELP\\〜.HLP");
        QTest::newRow("path outside the code page")
            << true << outside << menucommands::unconvertiblePathMessage(outside);
        QTest::newRow("no main window")
            << false << drive::kHelpFile << menucommands::noWindowMessage();
    }
    void anErrorCallingTheViewerGetsItsDescription()
    {
        QFETCH(bool, withMainWindow);
        QFETCH(QString, helpFile);
        QFETCH(QString, description);
        const auto box = watchForBox();
        menucommands::openHelpContents(withMainWindow ? mainWindow_.get() : nullptr, helpFile);
        QVERIFY(box->seen);
        QCOMPARE(box->text, description);
        QCOMPARE(box->title, appTitle());
        QCOMPARE(box->icon, QMessageBox::NoIcon);
        QCOMPARE(HelpViewer::current(), nullptr);
    }

    void theHelpOpensAtItsTop()
    {
        QVERIFY(QFileInfo::exists(helpPath()));
        const auto box = watchForBox();
        menucommands::openHelpContents(mainWindow_.get());
        HelpViewer *viewer = HelpViewer::current();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), QStringLiteral("ミトーン ヘルプ"));
        QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("検査のしかた")));

        QVERIFY(viewer->browser()->verticalScrollBar()->maximum() > 0);
        viewer->browser()->verticalScrollBar()->setValue(
            viewer->browser()->verticalScrollBar()->maximum());
        menucommands::openHelpContents(mainWindow_.get());
        QCOMPARE(HelpViewer::current(), viewer);
        QCOMPARE(viewer->browser()->verticalScrollBar()->value(), 0);
        QTest::qWait(100);
        QVERIFY(!box->seen);
    }

    void theViewerItselfSaysWhenTheHelpFileIsMissing()
    {
        const QByteArray document = testing::readBytes(helpPath());
        QVERIFY(QFile::remove(helpPath()));
        const auto box = watchForBox();
        menucommands::openHelpContents(mainWindow_.get());
        QTest::qWait(100);
        QVERIFY(!box->seen);
        HelpViewer *viewer = HelpViewer::current();
        QVERIFY(viewer);
        const QString text = viewer->browser()->toPlainText();
        QVERIFY2(text.contains(drive::kHelpFile + QStringLiteral(" が見つかりません")),
                 qPrintable(text));
        QVERIFY(testing::writeBytes(helpPath(), document));
    }

    void theViewerSaysWhyItCannotShowWhatStandsAtTheHelpPath_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("reason");
        const QString notRegular = QStringLiteral("通常のファイルではありません");
        QTest::newRow("FIFO") << QStringLiteral("fifo") << notRegular;
        QTest::newRow("link to /dev/zero") << QStringLiteral("/dev/zero") << notRegular;
        QTest::newRow("more than 16 MB")
            << QStringLiteral("large") << QStringLiteral("ファイルが大きすぎます");
    }
    void theViewerSaysWhyItCannotShowWhatStandsAtTheHelpPath()
    {
        QFETCH(QString, what);
        QFETCH(QString, reason);
        const QByteArray document = testing::readBytes(helpPath());
        QVERIFY(QFile::remove(helpPath()));
        if (what == QStringLiteral("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(helpPath()).constData(), 0600), 0);
        else if (what == QStringLiteral("large")) {
            QFile large(helpPath());
            QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(16 * 1024 * 1024 + 1));
        } else
            QVERIFY(QFile::link(what, helpPath()));
        menucommands::openHelpContents(mainWindow_.get());
        HelpViewer *viewer = HelpViewer::current();
        QVERIFY(viewer);
        const QString text = viewer->browser()->toPlainText();
        QVERIFY2(text.contains(drive::kHelpFile + QStringLiteral(" を開けませんでした。理由: ")),
                 qPrintable(text));
        QVERIFY2(text.contains(reason), qPrintable(text));
        QVERIFY(QFile::remove(helpPath()));
        QVERIFY(testing::writeBytes(helpPath(), document));
    }

    void theHelpGoesWithTheWindowThatAskedForIt()
    {
        menucommands::openHelpContents(mainWindow_.get());
        QPointer<HelpViewer> viewer = HelpViewer::current();
        QVERIFY(viewer);
        QVERIFY(!viewer->testAttribute(Qt::WA_QuitOnClose));
        mainWindow_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(viewer.isNull());
    }
};

MITOON_TEST_MAIN(TestMenuCommands)

#include "test_menucommands.moc"
