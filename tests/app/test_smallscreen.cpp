// The program's windows on small screens: screen A of 640 × 480 pixels at the left, screen B of
// 480 × 360 pixels to its right, on the offscreen platform.

#include "acuity/acuitytest.h"
#include "app/frmMain.h"
#include "app/menucommands.h"
#include "app/ringimage.h"
#include "app/settings.h"
#include "graph/frmGurafu.h"
#include "info/browser/frmBrowser.h"
#include "info/frmAbout.h"
#include "platform/fonts.h"
#include "platform/loadedforms.h"
#include "platform/statusbar.h"
#include "records/frmHyouji.h"
#include "screencheck/frmGamen.h"
#include "support/fakebrowser.h"
#include "support/isolatedhome.h"
#include "support/mainwindow.h"
#include "support/testmain.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace mitoon;
using mitoon::testing::settle;

namespace {

const QRect kScreenA(0, 0, 640, 480);
const QRect kScreenB(640, 0, 480, 360);

QString describe(const QRect &r)
{
    return QStringLiteral("%1,%2 %3×%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

class TestSmallScreen : public QObject
{
    Q_OBJECT

public:
    // Two small screens side by side.
    static void initMain()
    {
        static QTemporaryDir config;
        const QString path = config.filePath(QStringLiteral("screens.json"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("no screen configuration of the test's own");
        file.write(R"({"screens": [
            {"name": "A", "x": 0, "y": 0, "width": 640, "height": 480, "logicalDpi": 96,
             "logicalBaseDpi": 96, "dpr": 1},
            {"name": "B", "x": 640, "y": 0, "width": 480, "height": 360, "logicalDpi": 96,
             "logicalBaseDpi": 96, "dpr": 1}]})");
        file.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + path.toLocal8Bit());
    }

    QTemporaryDir dir_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<frmMain> window_;

    frmMain *open(const QByteArray &ini)
    {
        const QString path = dir_.filePath(QStringLiteral("ミトーン.ini"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("settings file");
        file.write("[Settings]\n" + ini + "\n");
        file.close();
        settings_ = std::make_unique<Settings>(path);
        window_ = testing::loadedMainWindow(*settings_);
        if (!testing::showActive(window_.get(), window_->inti))
            qFatal("main window not active");
        settle();
        return window_.get();
    }

    // Types a setting into both boxes without picking from the lists.
    void type(const QString &inches, const QString &centimetres)
    {
        window_->inti->setEditText(inches);
        window_->cm->setEditText(centimetres);
    }

    void start()
    {
        QTest::mousePress(window_->start, Qt::LeftButton);
        settle();
        QTest::mouseRelease(window_->start, Qt::LeftButton);
        settle();
    }

    bool ringInside() const
    {
        const QRect room =
            window_->centralWidget()->rect().adjusted(0, 0, 0, -window_->Bar->height());
        return room.contains(window_->randort->geometry());
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::screens().size(), 2);
        QCOMPARE(QGuiApplication::screens()[0]->availableGeometry(), kScreenA);
        QCOMPARE(QGuiApplication::screens()[1]->availableGeometry(), kScreenB);
    }

    // Every window of a test is gone before the next: the first loaded window is the main one.
    void cleanup()
    {
        window_.reset();
        for (int i = LoadedForms::count() - 1; i >= 0; --i)
            LoadedForms::unload(i);
        QTRY_COMPARE(LoadedForms::count(), 0);
    }

    void storedSizesAreClampedAndTheWindowShows_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::newRow("no size") << QByteArray();
        QTest::newRow("-1") << QByteArray("MainWidth=-1\nMainHeight=-1");
        QTest::newRow("5") << QByteArray("MainWidth=5\nMainHeight=5");
        QTest::newRow("1e9") << QByteArray("MainWidth=1e9\nMainHeight=1e9");
        QTest::newRow("3.4e38") << QByteArray("MainLeft=3.4e38\nMainTop=3.4e38\nMainWidth=3.4e38\n"
                                              "MainHeight=3.4e38");
        QTest::newRow("1e9 on B") << QByteArray("MainLeft=10500\nMainTop=0\nMainWidth=1e9\n"
                                                "MainHeight=1e9");
    }

    // Whatever the store holds, the window shows: no larger than its screen's available area,
    // and at least as large as the layout's first row, the logo, needs.
    void storedSizesAreClampedAndTheWindowShows()
    {
        QFETCH(QByteArray, ini);
        frmMain *w = open(ini);
        QVERIFY(w->isVisible());
        const QRect outer = w->frameGeometry();
        const QRect screen = w->screen()->availableGeometry();
        QVERIFY2(outer.width() <= screen.width() && outer.height() <= screen.height(),
                 qPrintable(describe(outer)));
        QVERIFY(outer.intersects(screen));
        const QRect logo = w->Picture1->geometry();
        QVERIFY2(w->centralWidget()->width() >= logo.right() + 1 &&
                     w->centralWidget()->height() >= logo.bottom() + 1 + w->Bar->height(),
                 qPrintable(describe(outer)));
    }

    // 12 inches at 300 cm: a ring of 217 × 189 pixels at x = 296 needs a client area 513
    // pixels wide. Screen A can give that: the window grows and the test starts.
    void aLargeRingGrowsTheWindowOnScreenA()
    {
        frmMain *w = open(QByteArray());
        type(QStringLiteral("12"), QStringLiteral("300"));
        start();
        QVERIFY(w->test().running());
        QVERIFY(w->ue->isEnabled());
        QVERIFY2(ringInside(), qPrintable(describe(w->frameGeometry())));
        QVERIFY2(kScreenA.contains(w->frameGeometry()), qPrintable(describe(w->frameGeometry())));
        QCOMPARE(w->Bar->panelTexts().first(), QStringLiteral("左目測定中"));
    }

    // Screen B, 480 pixels wide, cannot: no test starts, nothing changes, and the status bar
    // names the distance and the display size that would fit; the distance named does.
    void aRingScreenBCannotShowStartsNoTest()
    {
        frmMain *w = open("MainLeft=9600\nMainTop=0");
        QCOMPARE(w->screen()->availableGeometry(), kScreenB);
        type(QStringLiteral("12"), QStringLiteral("300"));
        const QSizeF ring = w->randort->pixelSize();
        start();
        QVERIFY(!w->test().running());
        QVERIFY(!w->ue->isEnabled());
        QVERIFY(w->start->isEnabled());
        QVERIFY(!w->hidarime->isChecked());
        QCOMPARE(w->randort->pixelSize(), ring);
        QCOMPARE(w->cm->currentText(), QStringLiteral("300"));
        const QString message = w->Bar->panelTexts().first();
        QCOMPARE(message, QStringLiteral("画面に入りません:200cm以下か16ｲﾝﾁ以上に"));
        // The message reads whole in the status bar's first panel.
        QVERIFY(w->Bar->fontMetrics().horizontalAdvance(message) + 8 <=
                w->Bar->panelWidths().first());

        w->cm->setEditText(QStringLiteral("200"));
        QTest::mouseClick(w->kekkadesu, Qt::LeftButton); // the focus leaves the start button
        settle();
        start();
        QVERIFY(w->test().running());
        QVERIFY2(ringInside(), qPrintable(describe(w->frameGeometry())));
        QVERIFY2(kScreenB.contains(w->frameGeometry()), qPrintable(describe(w->frameGeometry())));
    }

    void otherWindowsLieWhollyOnTheMainWindowsScreen_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QRect>("screen");
        QTest::newRow("A") << QByteArray() << kScreenA;
        QTest::newRow("B") << QByteArray("MainLeft=9600\nMainTop=0") << kScreenB;
    }

    // The records window's fixed place, 671, 30, lies on B; its 521 pixels of height fit
    // neither screen. The About box is centred on the main window's screen.
    void otherWindowsLieWhollyOnTheMainWindowsScreen()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QRect, screen);
        open(ini);
        menucommands::mnuFileOpen();
        QPointer<frmHyouji> records = frmHyouji::loaded();
        QVERIFY(records && QTest::qWaitForWindowExposed(records));
        QVERIFY2(screen.contains(records->frameGeometry()),
                 qPrintable(describe(records->frameGeometry())));
        records->close();

        QRect about;
        QTimer::singleShot(0, this, [&about] {
            if (auto *box = qobject_cast<frmAbout *>(QApplication::activeModalWidget())) {
                about = box->frameGeometry();
                box->close();
            }
        });
        frmAbout::showModal(window_.get());
        QVERIFY2(screen.contains(about), qPrintable(describe(about)));
        QVERIFY2(qAbs(about.center().x() - screen.center().x()) <= 1, qPrintable(describe(about)));

        // The graph and the screen check are larger than either screen: they shrink to it.
        menucommands::mnuFileGurafu(window_.get());
        QPointer<frmGurafu> graph = frmGurafu::loaded();
        QVERIFY(graph && QTest::qWaitForWindowExposed(graph));
        QVERIFY2(screen.contains(graph->frameGeometry()),
                 qPrintable(describe(graph->frameGeometry())));
        graph->close();
        const auto actions = window_->findChildren<QAction *>();
        const auto gamen = std::find_if(actions.begin(), actions.end(), [](QAction *action) {
            return action->text() == QStringLiteral("画面の確認");
        });
        QVERIFY(gamen != actions.end());
        (*gamen)->trigger();
        auto *check = window_->findChild<frmGamen *>();
        QVERIFY(check && QTest::qWaitForWindowExposed(check));
        QVERIFY2(screen.contains(check->frameGeometry()),
                 qPrintable(describe(check->frameGeometry())));
        check->close();
    }

    // The browser window runs on its own and keeps to the screen of its fixed position,
    // 589, 24, on A, where its 435 × 492 pixels do not fit.
    void theBrowserWindowLiesWhollyOnTheScreenAtItsPlace()
    {
        auto *browser = new frmBrowser(new testing::FakeBrowser, QStringLiteral("about:blank"));
        browser->show();
        QVERIFY(QTest::qWaitForWindowExposed(browser));
        QVERIFY2(kScreenA.contains(browser->frameGeometry()),
                 qPrintable(describe(browser->frameGeometry())));
        browser->close();
    }
};

MITOON_TEST_MAIN(TestSmallScreen)

#include "test_smallscreen.moc"
