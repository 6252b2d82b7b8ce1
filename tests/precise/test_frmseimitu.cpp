// The window "精密測定" played from the keyboard against a scripted eye, as a user at 3 m with a
// numeric keypad would, and what it stores.
#include "app/frmMain.h"
#include "app/ringimage.h"
#include "app/settings.h"
#include "platform/drivepath.h"
#include "precise/frmSeimitu.h"
#include "precise/preciserecords.h"
#include "precise/ringcanvas.h"
#include "support/mainwindow.h"
#include "support/recordfiletesting.h"
#include "support/testmain.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>

#include <cmath>

using namespace mitoon;

namespace {

// The keypad digit that answers each orientation, as the keys lie around 5.
constexpr int kKeypadKeyFor[] = {Qt::Key_5, Qt::Key_8, Qt::Key_9, Qt::Key_6, Qt::Key_3,
                                 Qt::Key_2, Qt::Key_1, Qt::Key_4, Qt::Key_7};

// The eye of the script sees every gap of at least logMAR 0.3 and none smaller.
constexpr double kThreshold = 0.3;

} // namespace

class TestFrmSeimitu : public QObject
{
    Q_OBJECT

    testing::MainWindowFixture main_;

    // The user picks "精密測定" in the File menu.
    frmSeimitu *openFromMenu()
    {
        QMenu *file = main_.window->menuBar()->actions().front()->menu();
        for (QAction *item : file->actions())
            if (item->text() == QStringLiteral("精密測定"))
                item->trigger();
        auto *window = main_.window->findChild<frmSeimitu *>();
        // The window asked to be activated; the platform activates it when events are handled.
        if (window && !QTest::qWaitFor([window] { return window->isActiveWindow(); }))
            return nullptr;
        return window;
    }

    // One key of the numeric keypad, pressed where the focus is.
    static void keypad(frmSeimitu *window, int key)
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window,
                        Qt::Key(key), Qt::KeypadModifier);
    }

private slots:
    void init()
    {
        main_.setUp("seimitu");
        main_.settings->storePixelPitchMm(0.25);
        QFile::remove(drive::localPath(precise::kRunsFile));
        QFile::remove(drive::localPath(precise::kTrialsFile));
    }

    void cleanup() { main_.tearDown(); }

    // Both eyes of a whole run by keys; the stored line says what the result screen says.
    void aRunPlayedByKeysIsStored()
    {
        main_.window->cm->setEditText(QStringLiteral("250"));
        frmSeimitu *window = openFromMenu();
        QVERIFY(window);
        QVERIFY(window->isFullScreen());
        QCOMPARE(window->screen(), main_.window->screen());
        QCOMPARE(window->distance->value(), 250);
        QVERIFY(window->pitchLabel->text().contains(QStringLiteral("0.2500 mm")));
        QVERIFY(window->warningLabel->isHidden()); // measured with a card
        // The distance is typed as a user types it: 300.
        window->distance->setFocus();
        window->distance->selectAll();
        QTest::keyClicks(window->distance, QStringLiteral("300"));
        QCOMPARE(window->session().distanceCm(), 300.0);

        const QSizeF ringBefore = main_.window->randort->pixelSize();
        for (const int eyeKey : {Qt::Key_Asterisk, Qt::Key_Slash}) {
            keypad(window, eyeKey);
            QCOMPARE(window->session().eye(),
                     eyeKey == Qt::Key_Asterisk ? precise::Eye::Right : precise::Eye::Left);
            keypad(window, Qt::Key_Enter);
            QCOMPARE(window->session().stage(), precise::PreciseSession::Stage::Rings);
            int answers = 0;
            while (window->session().stage() == precise::PreciseSession::Stage::Rings) {
                const precise::PreciseTrial &trial = window->session().run()->currentTrial();
                QCOMPARE(window->canvas->orientation(), trial.orientation);
                keypad(window, trial.gapLogMar >= kThreshold ? kKeypadKeyFor[trial.orientation]
                                                             : Qt::Key_5);
                ++answers;
            }
            QCOMPARE(answers, 18);
            QVERIFY(window->resultLabel->text().contains(eyeKey == Qt::Key_Asterisk
                                                             ? QStringLiteral("右目の結果")
                                                             : QStringLiteral("左目の結果")));
            QVERIFY(window->storedLabel->text().contains(QStringLiteral("保存しました")));
            QCOMPARE(window->otherEyeButton->text(), eyeKey == Qt::Key_Asterisk
                                                         ? QStringLiteral("左目も測る")
                                                         : QStringLiteral("右目も測る"));
            keypad(window, Qt::Key_Enter); // the other eye's set-up
        }

        const QByteArray bytes = testing::readBytes(drive::localPath(precise::kRunsFile));
        QVERIFY(bytes.startsWith(precise::runsHeader()));
        const precise::StoredRuns stored = precise::parseRuns(QString::fromUtf8(bytes));
        QCOMPARE(stored.runs.size(), 2);
        QCOMPARE(stored.skipped, 0);
        for (const precise::StoredRun &run : stored.runs) {
            QCOMPARE(run.result.trials, 18);
            QCOMPARE(run.result.distanceCm, 300.0);
            QCOMPARE(run.result.pitchMm, 0.25);
            QCOMPARE(run.pitchSource, QStringLiteral("カード"));
            QVERIFY(!run.uncalibrated);
            QVERIFY2(std::abs(run.result.logMar - kThreshold) < 0.1,
                     qPrintable(QString::number(run.result.logMar)));
            QVERIFY(run.result.lowLogMar <= run.result.logMar &&
                    run.result.logMar <= run.result.highLogMar);
        }
        QCOMPARE(stored.runs[0].result.eye, precise::Eye::Right);
        QCOMPARE(stored.runs[1].result.eye, precise::Eye::Left);
        const QByteArray trials = testing::readBytes(drive::localPath(precise::kTrialsFile));
        QCOMPARE(trials.count("\r\n"), 1 + 2 * 18);

        // Esc leaves; the main window and its test are as they were.
        const QPointer<frmSeimitu> closing = window;
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_VERIFY(closing.isNull());
        QCOMPARE(main_.window->randort->pixelSize(), ringBefore);
        QVERIFY(main_.window->test().gamensize().isEmpty() && !main_.window->test().running());
    }

    // A click on the ring answers with the direction of the sector it hits; leaving in the
    // middle of a run stores nothing.
    void aClickAnswersAndALeftRunIsNotStored()
    {
        frmSeimitu *window = openFromMenu();
        QVERIFY(window);
        window->startButton->click();
        QCOMPARE(window->session().stage(), precise::PreciseSession::Stage::Rings);
        const int orientation = window->canvas->orientation();
        const QPointF centre = window->canvas->centre();
        const double angle = (orientation - 1) * 45.0 * M_PI / 180.0;
        const QPoint onTheGap =
            (centre + QPointF(std::sin(angle), -std::cos(angle)) * 40).toPoint();
        QTest::mouseClick(window->canvas, Qt::LeftButton, {}, onTheGap);
        const std::vector<precise::TrialRecord> &trials = window->session().run()->trials();
        QCOMPARE(trials.size(), size_t(1));
        QCOMPARE(trials.front().answer, orientation);
        QVERIFY(trials.front().correct);

        window->close();
        QVERIFY(!QFile::exists(drive::localPath(precise::kRunsFile)));
        QVERIFY(!QFile::exists(drive::localPath(precise::kTrialsFile)));
    }

    // Without a card measurement the card is offered, and where the screen's report looks made
    // up it says so; the run may still start.
    void withoutACardItOffersOneAndSaysWhatTheReportIsWorth()
    {
        main_.settings->storePixelPitchMm(std::nullopt);
        frmSeimitu *window = openFromMenu();
        QVERIFY(window);
        QVERIFY(window->cardButton->isVisible());
        QVERIFY(window->startButton->isEnabled());
        const bool uncalibrated = window->session().screen().uncalibrated;
        QCOMPARE(window->warningLabel->isVisible(), uncalibrated);
        if (uncalibrated)
            QVERIFY(window->warningLabel->text().contains(QStringLiteral("画面未校正")));
    }
};

MITOON_TEST_MAIN(TestFrmSeimitu)

#include "test_frmseimitu.moc"
