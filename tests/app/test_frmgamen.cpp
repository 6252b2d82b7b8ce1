#include "acuity/pixelpitch.h"
#include "acuity/screencheck.h"
#include "app/cardoutline.h"
#include "app/frmGamen.h"
#include "app/frmMain.h"
#include "app/ringimage.h"
#include "app/windowsettings.h"
#include "platform/formkit.h"
#include "support/isolatedhome.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace mitoon;

namespace {

QString fixed(double value, int decimals)
{
    return QLocale().toString(value, 'f', decimals);
}

// What the window's screen reports of itself, in its own pixels.
pixelpitch::ScreenReport reportOf(const QScreen *screen)
{
    const QSize pixels = screen->size() * screen->devicePixelRatio();
    return {screen->physicalSize().width(), screen->physicalSize().height(), double(pixels.width()),
            double(pixels.height())};
}

} // namespace

class TestFrmGamen : public QObject
{
    Q_OBJECT

    QString settingsFile_;
    std::unique_ptr<WindowSettings> settings_;
    std::unique_ptr<frmMain> main_;

    QMenu *fileMenu() const { return main_->menuBar()->actions().front()->menu(); }

    QAction *fileItem(const QString &caption) const
    {
        for (QAction *action : fileMenu()->actions())
            if (action->text() == caption)
                return action;
        return nullptr;
    }

    // The user picks "画面の確認" in the File menu.
    frmGamen *openCheck()
    {
        QAction *item = fileItem(QStringLiteral("画面の確認"));
        if (!item)
            return nullptr;
        item->trigger();
        auto *check = main_->findChild<frmGamen *>(QString(), Qt::FindDirectChildrenOnly);
        // A window owned by the active main window counts as active before it is itself: wait
        // until the keyboard goes to it.
        if (check && !QTest::qWaitFor([check] { return QApplication::activeWindow() == check; }))
            return nullptr;
        return check;
    }

    void storeRaw(const QString &value)
    {
        QSettings ini(settingsFile_, QSettings::IniFormat);
        ini.setValue(QStringLiteral("Settings/PixelPitchMm"), value);
    }

    // The texts of one row of the ring table.
    static QStringList rowTexts(const QTableWidget *table, int row)
    {
        QStringList texts;
        for (int c = 0; c < table->columnCount(); ++c)
            texts << table->item(row, c)->text();
        return texts;
    }

    static QStringList expectedTexts(const screencheck::RingRow &row)
    {
        return {QString::number(row.rightAnswers),
                fixed(row.outerWidthPx, 1) + QStringLiteral(" × ") + fixed(row.outerHeightPx, 1),
                fixed(row.outerWidthMm, 1) + QStringLiteral(" × ") + fixed(row.outerHeightMm, 1),
                fixed(row.gapPx, 2),
                fixed(row.gapMm, 2),
                fixed(row.gapArcMin, 2),
                fixed(row.decimalAcuity, 2),
                fixed(row.logMar, 2),
                row.shownAcuity,
                row.belowPixel ? QStringLiteral("画素の限界") : QString()};
    }

private slots:
    void initTestCase() { formkit::registerFontSubstitutions(); }

    void init()
    {
        settingsFile_ = QDir::temp().filePath(
            QStringLiteral("mitoon-gamen-%1.ini").arg(QCoreApplication::applicationPid()));
        QFile::remove(settingsFile_);
        settings_ = std::make_unique<WindowSettings>(settingsFile_);
        main_ = std::make_unique<frmMain>(*settings_);
        main_->setAttribute(Qt::WA_DeleteOnClose, false);
        main_->Form_Load();
        main_->show();
        main_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main_.get()));
    }

    void cleanup()
    {
        main_.reset();
        QFile::remove(settingsFile_);
    }

    void menuItemSitsAmongTheViewsBeforeExit()
    {
        const QList<QAction *> items = fileMenu()->actions();
        QVERIFY(items.size() >= 7);
        QCOMPARE(items[0]->text(), QStringLiteral("記録を見る"));
        QVERIFY(items[1]->isSeparator());
        QCOMPARE(items[2]->text(), QStringLiteral("結果を保存"));
        QVERIFY(items[3]->isSeparator());
        const int at = int(items.indexOf(fileItem(QStringLiteral("画面の確認"))));
        QVERIFY(at >= 4);
        QVERIFY(items[at + 1]->isSeparator());
        QCOMPARE(items[at + 2]->text(), QStringLiteral("終了"));
        QCOMPARE(at + 3, items.size());
    }

    // 14 inches at 100 cm before any calibration: the reference setting. On a 0.2745 mm pitch
    // the first gap is 9.33 pixels, 2.56 mm, 8.81′: decimal 0.11, logMAR 0.94; the program
    // shows 0.1 for a test without a right answer.
    void opensFromTheMenuWithTheCoresFigures()
    {
        storeRaw(QStringLiteral("0.2745"));
        const QSizeF ringBefore = main_->randort->pixelSize();
        frmGamen *check = openCheck();
        QVERIFY(check);
        QCOMPARE(check->windowTitle(), QStringLiteral("画面の確認"));
        QVERIFY(check->isWindow());
        QCOMPARE(check->parentWidget(), main_.get());
        QVERIFY(!check->isModal());
        QCOMPARE(check->pitchMm(), 0.2745);

        const std::vector<screencheck::RingRow> rows =
            screencheck::ringRows({14, 100, 0.2745, check->devicePixelRatioF()});
        QCOMPARE(check->ringTable->rowCount(), int(rows.size()));
        QCOMPARE(rowTexts(check->ringTable, 0), expectedTexts(rows.front()));
        if (check->devicePixelRatioF() == 1.0)
            QCOMPARE(rowTexts(check->ringTable, 0),
                     QStringList({"0", "48.7 × 47.5", "13.4 × 13.0", "9.33", "2.56", "8.81", "0.11",
                                  "0.94", "0.1", ""}));
        for (int r = 0; r < int(rows.size()); ++r)
            QCOMPARE(rowTexts(check->ringTable, r), expectedTexts(rows[size_t(r)]));
        QVERIFY(check->ringHeading->text().contains(QStringLiteral("14 インチ、距離 100 cm")));
        QVERIFY(check->limitLabel->text().contains(QStringLiteral("小数視力 1.06")));
        // Desktop scaling draws the ring on more of the screen's pixels: a larger display then.
        const double ratio = check->devicePixelRatioF();
        const double inches = *screencheck::inchesForFirstGap(10, {14, 100, 0.2745, ratio});
        QCOMPARE(fixed(inches, 1), fixed(12.33 * ratio, 1));
        QVERIFY(check->sizeAdvice->text().contains(fixed(inches, 1) + QStringLiteral(" インチ")));
        QVERIFY(check->sizeAdvice->text().contains(
            QStringLiteral("最も近いのは %1 インチ").arg(ratio == 1.0 ? 12 : 25)));

        // The main window and the test stay as they were.
        QCOMPARE(main_->randort->pixelSize(), ringBefore);
        QVERIFY(main_->test().gamensize().isEmpty());
        QVERIFY(main_->test().kyori().isEmpty());
        QVERIFY(main_->start->isEnabled());
    }

    void followsTheMainWindowsCalibrationAndStaysOne()
    {
        storeRaw(QStringLiteral("0.2745"));
        frmGamen *check = openCheck();
        QVERIFY(check);
        main_->inti->setEditText(QStringLiteral("19"));
        main_->cm->setEditText(QStringLiteral("150"));
        main_->test().calibrate();
        // Back from the main window, or the menu again: the same window with new figures.
        QCOMPARE(openCheck(), check);
        QCOMPARE(main_->findChildren<frmGamen *>().size(), 1);
        QCOMPARE(check->inches(), 19.0);
        QCOMPARE(check->centimetres(), 150.0);
        const auto rows = screencheck::ringRows({19, 150, 0.2745, check->devicePixelRatioF()});
        QCOMPARE(rowTexts(check->ringTable, 0), expectedTexts(rows.front()));

        // Closed, it goes; the menu then opens a new one.
        const QPointer<frmGamen> closed = check;
        check->closeButton->click();
        QTRY_VERIFY(closed.isNull());
        QVERIFY(openCheck());
    }

    void cardMatchedByKeysRoundTripsThroughTheSettings()
    {
        frmGamen *check = openCheck();
        QVERIFY(check);
        const pixelpitch::InEffect screen =
            pixelpitch::inEffect(std::nullopt, reportOf(check->screen()));
        QVERIFY(screen.pitchMm);
        QCOMPARE(check->pitchMm(), screen.pitchMm);
        const int start = int(std::lround(pixelpitch::cardWidthPx(*screen.pitchMm)));
        QCOMPARE(check->cardSlider->value(), start);

        for (int i = 0; i < 5; ++i)
            QTest::keyClick(check, Qt::Key_Plus);
        QTest::keyClick(check, Qt::Key_Minus);
        QTest::mouseClick(check->larger, Qt::LeftButton);
        const int matched = start + 5;
        QCOMPARE(check->cardSlider->value(), matched);
        QCOMPARE(check->card->cardInScreenPixels().width(), matched);
        QCOMPARE(*check->pitchMm(), pixelpitch::fromCardWidthPx(matched));
        QVERIFY(check->ringHeading->text().contains(QStringLiteral("まだ保存していません")));
        QVERIFY(check->sourceLabel->text().startsWith(QStringLiteral("画面が報告する大きさ")));
        // Nothing is stored before the user says so.
        QVERIFY(!settings_->loadPixelPitchMm());
        const auto rows = screencheck::ringRows(
            {14, 100, pixelpitch::fromCardWidthPx(matched), check->devicePixelRatioF()});
        QCOMPARE(rowTexts(check->ringTable, 0), expectedTexts(rows.front()));

        QTest::mouseClick(check->storeButton, Qt::LeftButton);
        QVERIFY(settings_->loadPixelPitchMm());
        QCOMPARE(std::lround(pixelpitch::cardWidthPx(*settings_->loadPixelPitchMm())),
                 long(matched));
        QVERIFY(!check->storeButton->isEnabled());
        QVERIFY(!check->ringHeading->text().contains(QStringLiteral("まだ保存していません")));
        QVERIFY(check->sourceLabel->text().startsWith(QStringLiteral("カードで測って保存した値")));

        // A new window, after the program started again, draws the same outline.
        const QPointer<frmGamen> closed = check;
        check->close();
        QTRY_VERIFY(closed.isNull());
        WindowSettings reread(settingsFile_);
        QCOMPARE(reread.loadPixelPitchMm(), settings_->loadPixelPitchMm());
        check = openCheck();
        QVERIFY(check);
        QCOMPARE(check->cardSlider->value(), matched);
        QVERIFY(check->sourceLabel->text().startsWith(QStringLiteral("カードで測って保存した値")));
        QVERIFY(check->pitchLabel->text().contains(fixed(*settings_->loadPixelPitchMm(), 4)));

        // Back to the screen's own report.
        QTest::mouseClick(check->forgetButton, Qt::LeftButton);
        QVERIFY(!settings_->loadPixelPitchMm());
        QCOMPARE(check->pitchMm(), screen.pitchMm);
    }

    void badStoredPitchFallsBackToTheScreensReport_data()
    {
        QTest::addColumn<QString>("stored");
        for (const char *bad : {"abc", "0", "-0.27", "nan", "inf", "5", "0.001", "1e999"})
            QTest::newRow(bad) << QString::fromLatin1(bad);
    }

    void badStoredPitchFallsBackToTheScreensReport()
    {
        QFETCH(QString, stored);
        storeRaw(stored);
        frmGamen *check = openCheck();
        QVERIFY(check);
        const auto screen = pixelpitch::fromScreen(reportOf(check->screen()));
        QVERIFY(screen.pitchMm);
        QCOMPARE(check->pitchMm(), screen.pitchMm);
        QVERIFY(check->sourceLabel->text().startsWith(QStringLiteral("画面が報告する大きさ")));
        QVERIFY(check->doubtLabel->text().contains(QStringLiteral("保存されていた値")));
        QCOMPARE(check->ringTable->rowCount(), screencheck::kAnswersShown + 1);
    }

    // The card is a whole number of the screen's own pixels wide, whatever the scaling.
    void cardIsDrawnInTheScreensPixels()
    {
        storeRaw(QStringLiteral("0.2745"));
        frmGamen *check = openCheck();
        QVERIFY(check);
        const QImage image = check->card->grab().toImage();
        const double ratio = check->devicePixelRatioF();
        QCOMPARE(image.devicePixelRatio(), ratio);
        // 85.60 / 0.2745 = 311.8: 312 pixels; 53.98 / 0.2745 = 196.6: 197 pixels.
        const QRect card = check->card->cardInScreenPixels();
        QCOMPARE(card.size(), QSize(312, 197));
        const QRgb edge = qRgb(0, 0, 160);
        const int row = card.center().y();
        int left = -1;
        int right = -1;
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, row) == edge) {
                if (left < 0)
                    left = x;
                right = x;
            }
        QCOMPARE(right - left + 1, 312);
        // Left of the label in the middle of the card, right of its rounded corner.
        const int column = card.left() + card.width() / 8;
        int top = -1;
        int bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(column, y) == edge) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
        QCOMPARE(bottom - top + 1, 197);
        QVERIFY(check->card->width() * ratio >= card.right() + 1);
    }

    void everyTextFitsItsControl_data()
    {
        QTest::addColumn<bool>("matching");
        QTest::newRow("as stored") << false;
        QTest::newRow("while matching the card") << true;
    }

    void everyTextFitsItsControl()
    {
        QFETCH(bool, matching);
        storeRaw(QStringLiteral("0.2745"));
        frmGamen *check = openCheck();
        QVERIFY(check);
        if (matching)
            QTest::keyClick(check, Qt::Key_Minus);
        QVERIFY(check->ringHeading->text().contains(QStringLiteral("まだ保存")) == matching);
        // Nothing wider than the window: no scrolling sideways.
        const auto *scroll = check->findChild<QScrollArea *>();
        QVERIFY(scroll);
        QTRY_VERIFY(scroll->widget()->width() <= scroll->viewport()->width());
        for (QAbstractButton *button : check->findChildren<QAbstractButton *>()) {
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
            QVERIFY2(button->height() >= button->sizeHint().height(), qPrintable(button->text()));
        }
        for (QLabel *label : check->findChildren<QLabel *>()) {
            if (!label->isVisible())
                continue;
            // A text that changed wraps anew once the layout has caught up.
            if (label->wordWrap())
                QTRY_VERIFY2(label->height() >= label->heightForWidth(label->width()),
                             qPrintable(label->text()));
            else
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        }
        const QTableWidget *table = check->ringTable;
        QVERIFY(table->horizontalHeader()->length() <= table->viewport()->width());
        for (int c = 0; c < table->columnCount(); ++c) {
            const QString header = table->horizontalHeaderItem(c)->text();
            QVERIFY2(table->columnWidth(c) >= table->fontMetrics().horizontalAdvance(header),
                     qPrintable(header));
            for (int r = 0; r < table->rowCount(); ++r)
                QVERIFY2(table->columnWidth(c) >=
                             table->fontMetrics().horizontalAdvance(table->item(r, c)->text()),
                         qPrintable(table->item(r, c)->text()));
        }
        // Wholly on the screen of the main window.
        QVERIFY(main_->screen()->availableGeometry().contains(check->geometry()));
    }

    void closingTheMainWindowUnloadsIt()
    {
        const QPointer<frmGamen> check = openCheck();
        QVERIFY(check);
        main_->close();
        QTRY_VERIFY(check.isNull());
    }
};

int main(int argc, char **argv)
{
    mitoon::testing::isolateHome();
    QApplication app(argc, argv);
    TestFrmGamen test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_frmgamen.moc"
