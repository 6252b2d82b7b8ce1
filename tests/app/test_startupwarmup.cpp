// Start-up work done ahead on a second thread: the main window built from it is the window built
// without it, pixel for pixel and font for font, and takes every result it was given.

#include "acuity/acuitytest.h"
#include "app/frmMain.h"
#include "app/ringimage.h"
#include "app/settings.h"
#include "app/startupwarmup.h"
#include "platform/fonts.h"
#include "platform/pictures.h"
#include "support/isolatedhome.h"
#include "support/testmain.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

using namespace mitoon;

namespace {

// What the main window's construction took from the prepared results or worked out itself.
struct Built
{
    int acuityStretch = 0;
    QList<QImage> pictures; // the logo, the ring on view, the eight holders
};

Built build()
{
    Settings settings(QDir(testing::isolateHome()).filePath(QStringLiteral("main.ini")));
    frmMain window(settings);
    Built built;
    built.acuityStretch = window.siryokuhyouji->font().stretch();
    built.pictures << window.Picture1->pixmap().toImage() << window.randort->picture().toImage();
    for (QLabel *holder : window.holders)
        built.pictures << holder->pixmap().toImage();
    return built;
}

// Runs `work` on a thread of the warm-up's own and waits for it.
void onSecondThread(std::function<void()> work)
{
    StartupWarmUp warmUp(std::move(work), true);
    QVERIFY(warmUp.started());
    warmUp.join();
}

} // namespace

class TestStartupWarmUp : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        pictures::dropPrepared();
        fonts::dropPrepared();
    }

    void runsOnASecondThreadOnlyWhenThatPays_data()
    {
        QTest::addColumn<bool>("concurrently");
        QTest::newRow("two processors") << true;
        QTest::newRow("one processor") << false;
    }

    void runsOnASecondThreadOnlyWhenThatPays()
    {
        QFETCH(bool, concurrently);
        std::atomic<bool> ran = false;
        std::thread::id ranOn;
        {
            StartupWarmUp warmUp(
                [&] {
                    ranOn = std::this_thread::get_id();
                    ran = true;
                },
                concurrently);
            QCOMPARE(warmUp.started(), concurrently);
        } // joined here
        QCOMPARE(ran.load(), concurrently);
        if (concurrently)
            QVERIFY(ranOn != std::this_thread::get_id());
    }

    void mainWindowTakesWhatWasPreparedAndLooksTheSame()
    {
        const Built alone = build();
        onSecondThread([] {
            frmMain::preparePictures();
            frmMain::prepareFonts();
        });
        QCOMPARE(pictures::preparedCount(), 10);
        QCOMPARE(fonts::preparedCount(), 1);
        const Built warmed = build();
        QCOMPARE(pictures::preparedCount(), 0);
        QCOMPARE(fonts::preparedCount(), 0);
        QCOMPARE(warmed.acuityStretch, alone.acuityStretch);
        QCOMPARE(warmed.pictures.size(), alone.pictures.size());
        for (qsizetype i = 0; i < alone.pictures.size(); ++i) {
            QVERIFY(!alone.pictures.at(i).isNull());
            QCOMPARE(warmed.pictures.at(i), alone.pictures.at(i));
        }
    }

    void picturesAsQtReadsThem_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("logo") << ":/assets/logo.png";
        QTest::newRow("icon") << ":/assets/icon.png";
        for (int orientation = 0; orientation <= 8; ++orientation)
            QTest::newRow(qPrintable(QStringLiteral("ring%1").arg(orientation)))
                << QStringLiteral(":/assets/ring%1.png").arg(orientation);
    }

    void picturesAsQtReadsThem()
    {
        QFETCH(QString, path);
        const QImage expected = QPixmap(path).toImage();
        QVERIFY(!expected.isNull());
        QCOMPARE(pictures::pixmap(path).toImage(), expected);
        onSecondThread([path] { pictures::prepare(path); });
        QCOMPARE(pictures::pixmap(path).toImage(), expected);
        QCOMPARE(pictures::preparedCount(), 0);
    }

    void condensedAsOnTheGuiThread_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("stretch"); // 0: whatever the installed font gives
        QTest::newRow("everything fits") << 1000 << 100;
        QTest::newRow("nothing fits: the narrowest tried") << 1 << 52;
        QTest::newRow("the acuity box") << 39 << 0;
    }

    void condensedAsOnTheGuiThread()
    {
        QFETCH(int, width);
        QFETCH(int, stretch);
        const QFont font = fonts::fixedFont(fonts::kPGothic, 20.25, true);
        QStringList texts;
        for (int score = 0; score <= 190; score += 10)
            texts << AcuityTest::acuityText(std::int16_t(score));
        const int computed = fonts::condensedToFit(font, width, texts).stretch();
        if (stretch)
            QCOMPARE(computed, stretch);

        // Prepared for another width, a result is not taken.
        onSecondThread([=] {
            fonts::prepareCondensed(fonts::fixedFont(fonts::kPGothic, 20.25, true), width + 1,
                                    texts);
            fonts::prepareCondensed(fonts::fixedFont(fonts::kPGothic, 20.25, true), width, texts);
        });
        QCOMPARE(fonts::condensedToFit(font, width, texts).stretch(), computed);
        QCOMPARE(fonts::preparedCount(), 1);
    }
};

MITOON_TEST_MAIN(TestStartupWarmUp)

#include "test_startupwarmup.moc"
