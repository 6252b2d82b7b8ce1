#include "app/appinfo.h"
#include "info/frmAbout.h"

#include "localpageserver.h"
#include "support/aboutbox.h"
#include "support/modalwatch.h"
#include "support/testmain.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>

using namespace mitoon;

// The About box while the browser window is open. The browser is played by a stand-in program
// that only waits, and once by the real one showing a page from 127.0.0.1.
class TestAboutBrowser : public QObject
{
    Q_OBJECT

private:
    testing::AboutBoxFixture about;
    QTemporaryDir &folder = about.folder;
    QPointer<frmAbout> &box = about.box;
    QLineEdit *&ownerState = about.ownerState;

    void openBox() { QVERIFY(about.openBox(false)); }

    // A program that notes its arguments and its process id and then becomes `command`. The
    // process id file appears, whole, only once the arguments have been written.
    QString wrapper(const QString &command)
    {
        const QString path = folder.filePath(QStringLiteral("browser.sh"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        const QStringList lines = {
            QStringLiteral("#!/bin/sh"),
            QStringLiteral("printf '%s\\n' \"$@\" > '%1'").arg(argumentsFile()),
            QStringLiteral("echo $$ > '%1.new'").arg(pidFile()),
            QStringLiteral("mv '%1.new' '%1'").arg(pidFile()), QStringLiteral("exec ") + command};
        file.write(QFile::encodeName(lines.join(u'\n') + u'\n'));
        file.close();
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }
    QString pidFile() const { return folder.filePath(QStringLiteral("browser.pid")); }
    QString argumentsFile() const { return folder.filePath(QStringLiteral("browser.args")); }
    qint64 browserPid() const
    {
        QFile file(pidFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong() : 0;
    }

    // Clicks Command1 and, while the browser is up, runs `whileOpen`; returns after the click.
    void clickCommand1(const std::function<void()> &whileOpen)
    {
        QTimer::singleShot(0, this, whileOpen);
        QTest::mouseClick(box->Command1, Qt::LeftButton);
    }

    struct WhileOpen
    {
        bool waiting = false;
        int pressed = -1; // buttons pressed by the keys and clicks meanwhile
        bool stayedOpen = false;
        bool killed = false;
    };

    // Checks that the waiting box takes no input, then kills the browser process.
    WhileOpen tryTheBoxThenKill(const std::function<bool()> &browserShows)
    {
        WhileOpen seen;
        const bool shows = QTest::qWaitFor(browserShows, 30000);
        const qint64 pid = browserPid();
        seen.waiting = box->waitingForBrowser();
        QSignalSpy okPressed(box->cmdOK, &QPushButton::clicked);
        QSignalSpy sysInfoPressed(box->cmdSysInfo, &QPushButton::clicked);
        QTest::keyClick(box, Qt::Key_Escape);
        QTest::keyClick(box->cmdOK, Qt::Key_Return);
        QTest::mouseClick(box->cmdOK, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_S, Qt::AltModifier);
        QCoreApplication::processEvents();
        seen.pressed = int(okPressed.count() + sysInfoPressed.count());
        // The window's close button cannot close it either.
        box->close();
        QCoreApplication::processEvents();
        seen.stayedOpen = box && box->isVisible();
        seen.killed = shows && pid > 0 && ::kill(pid_t(pid), SIGKILL) == 0;
        return seen;
    }

    void checkUsableAfterwards()
    {
        QVERIFY(box);
        QVERIFY(!box->waitingForBrowser());
        QCOMPARE(ownerState->text(), QStringLiteral("右眼 1.2"));
        QTest::keyClick(box, Qt::Key_Escape);
        QTRY_VERIFY(!box);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(about.setUp());
        qputenv("MITOON_START_ADDRESS", "http://127.0.0.1:9/start");
    }

    void cleanup()
    {
        about.closeBox();
        qunsetenv("MITOON_BROWSER_PROGRAM");
        QFile::remove(pidFile());
        QFile::remove(argumentsFile());
    }
    void browserTakesTheBoxInputUntilItEnds()
    {
        qputenv("MITOON_BROWSER_PROGRAM", QFile::encodeName(wrapper("/bin/sleep 60")));
        openBox();
        WhileOpen seen;
        clickCommand1([&] { seen = tryTheBoxThenKill([&] { return browserPid() > 0; }); });
        QVERIFY(seen.waiting);
        QCOMPARE(seen.pressed, 0);
        QVERIFY(seen.stayedOpen);
        QVERIFY(seen.killed);
        QFile arguments(argumentsFile());
        QVERIFY(arguments.open(QIODevice::ReadOnly));
        QByteArray expected = "--\nhttp://127.0.0.1:9/start\n";
        // On X11 the browser window is kept above the box.
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            expected.prepend("--transient-for\n" + QByteArray::number(box->winId()) + '\n');
        QCOMPARE(arguments.readAll(), expected);
        checkUsableAfterwards();
    }

    void browserThatCannotStartSaysSo_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "no-such-program"
                                 << "が見つかりません。";
        QTest::newRow("not executable") << "not-a-program"
                                        << "を起動できませんでした。";
    }

    void browserThatCannotStartSaysSo()
    {
        QFETCH(QString, program);
        QFETCH(QString, reason);
        const QString path = folder.filePath(program);
        QFile notAProgram(folder.filePath(QStringLiteral("not-a-program")));
        QVERIFY(notAProgram.open(QIODevice::WriteOnly));
        notAProgram.close();
        qputenv("MITOON_BROWSER_PROGRAM", QFile::encodeName(path));
        openBox();
        QString text, title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool waiting = true;
        testing::whenModal([&](QWidget *modal) {
            if (auto *message = qobject_cast<QMessageBox *>(modal)) {
                text = message->text();
                title = message->windowTitle();
                icon = message->icon();
                waiting = box->waitingForBrowser();
                message->accept();
            }
        });
        QTest::mouseClick(box->Command1, Qt::LeftButton);
        QCOMPARE(text, QStringLiteral("Web ブラウザーを開けません。\nプログラム ") + path + u' ' +
                           reason);
        QCOMPARE(title, appTitle());
        QCOMPARE(icon, QMessageBox::Warning);
        QVERIFY(!waiting);
        checkUsableAfterwards();
    }

    void realBrowserKilledWhileShowing()
    {
#ifndef MITOON_BROWSER_EXECUTABLE
        QSKIP("built without the browser window");
#else
        testing::LocalPageServer server;
        QVERIFY(server.isListening());
        server.addPage(QStringLiteral("/"), QStringLiteral("ミトーンのページ"));
        qputenv("MITOON_START_ADDRESS", server.url(QStringLiteral("/")).toUtf8());
        qputenv(
            "MITOON_BROWSER_PROGRAM",
            QFile::encodeName(wrapper(QStringLiteral("'" MITOON_BROWSER_EXECUTABLE "' \"$@\""))));
        openBox();
        WhileOpen seen;
        clickCommand1([&] {
            seen = tryTheBoxThenKill([&] { return server.requests.contains(QStringLiteral("/")); });
        });
        qputenv("MITOON_START_ADDRESS", "http://127.0.0.1:9/start");
        QVERIFY(seen.waiting);
        QCOMPARE(seen.pressed, 0);
        QVERIFY(seen.stayedOpen);
        QVERIFY(seen.killed);
        checkUsableAfterwards();
#endif
    }
};

MITOON_TEST_MAIN(TestAboutBrowser)
#include "test_aboutbrowser.moc"
