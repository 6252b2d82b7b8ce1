#include "app/frmMain.h"
#include "app/ringimage.h"
#include "app/settings.h"
#include "platform/fonts.h"
#include "screencheck/cardoutline.h"
#include "screencheck/frmGamen.h"
#include "screencheck/gamentexts.h"
#include "screencheck/pixelpitch.h"
#include "screencheck/ringrows.h"
#include "support/isolatedhome.h"
#include "support/mainwindow.h"
#include "support/testmain.h"

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

QStringList rowTexts(const QTableWidget *table, int row)
{
    QStringList texts;
    for (int c = 0; c < table->columnCount(); ++c)
        texts << table->item(row, c)->text();
    return texts;
}

// How far the card's edge colour reaches along a line of a grabbed picture, in its pixels.
int outlineSpan(const QImage &image, QPoint from, QPoint step)
{
    int first = -1;
    int last = -1;
    int at = 0;
    for (QPoint p = from; image.rect().contains(p); p += step, ++at) {
        if (image.pixel(p) != qRgb(0, 0, 160))
            continue;
        if (first < 0)
            first = at;
        last = at;
    }
    return last - first + 1;
}

// The pitch the window's screen reports of itself, in its own pixels.
std::optional<double> screensPitch(const QScreen *screen)
{
    const QSize pixels = screen->size() * screen->devicePixelRatio();
    return pixelpitch::fromScreen({screen->physicalSize().width(), screen->physicalSize().height(),
                                   double(pixels.width()), double(pixels.height())})
        .pitchMm;
}

} // namespace

class TestFrmGamen : public QObject
{
    Q_OBJECT

    QString settingsFile_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<frmMain> main_;

    QList<QAction *> fileItems() const
    {
        return main_->menuBar()->actions().front()->menu()->actions();
    }

    // The user picks "画面の確認" in the File menu.
    frmGamen *openCheck()
    {
        for (QAction *item : fileItems())
            if (item->text() == QStringLiteral("画面の確認"))
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
        QSettings(settingsFile_, QSettings::IniFormat).setValue("Settings/PixelPitchMm", value);
    }

private slots:

    void init()
    {
        settingsFile_ = testing::temporarySettingsFile("gamen");
        QFile::remove(settingsFile_);
        settings_ = std::make_unique<Settings>(settingsFile_);
        main_ = testing::loadedMainWindow(*settings_);
        QVERIFY(testing::showActive(main_.get()));
    }

    void cleanup()
    {
        main_.reset();
        QFile::remove(settingsFile_);
    }

    // Among the views after the graph, followed by "精密測定" in the same group before the
    // separator above "終了"; the first items stay put.
    void menuItemSitsAmongTheViewsBeforeExit()
    {
        QStringList captions;
        for (QAction *item : fileItems())
            captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
        QCOMPARE(captions.mid(0, 4), QStringList({"記録を見る", "-", "結果を保存", "-"}));
        QCOMPARE(captions.mid(captions.size() - 5),
                 QStringList({"記録のグラフ", "画面の確認", "精密測定", "-", "終了"}));
    }

    // 14 inches at 100 cm before any calibration. On a 0.2745 mm pitch the first gap is 9.33
    // pixels, 2.56 mm, 8.81′: decimal 0.11, logMAR 0.94; the program shows 0.1.
    void opensFromTheMenuWithTheCoresFigures()
    {
        storeRaw(QStringLiteral("0.2745"));
        const QSizeF ringBefore = main_->randort->pixelSize();
        frmGamen *check = openCheck();
        QVERIFY(check);
        QCOMPARE(check->windowTitle(), QStringLiteral("画面の確認"));
        QVERIFY(check->isWindow() && !check->isModal());
        QCOMPARE(check->parentWidget(), main_.get());

        const double ratio = check->devicePixelRatioF();
        const auto rows = screencheck::ringRows({14, 100, 0.2745, ratio});
        QCOMPARE(check->ringTable->rowCount(), 21);
        for (int r = 0; r < 21; ++r)
            QCOMPARE(rowTexts(check->ringTable, r), gamentexts::cellTexts(rows[size_t(r)]));
        // With desktop scaling by 2 the ring covers twice the screen's pixels across.
        QCOMPARE(rowTexts(check->ringTable, 0),
                 ratio == 1.0 ? QStringList({"0", "48.7 × 47.5", "13.4 × 13.0", "9.33", "2.56",
                                             "8.81", "0.11", "0.94", "0.1", ""})
                              : QStringList({"0", "97.3 × 95.0", "26.7 × 26.1", "18.67", "5.12",
                                             "17.61", "0.06", "1.25", "0.1", ""}));
        QVERIFY(check->limitLabel->text().contains(QStringLiteral("小数視力 1.06")));
        // Desktop scaling draws the ring on more of the screen's pixels: a larger display then.
        QVERIFY(check->sizeAdvice->text().contains(fixed(12.33 * ratio, 1) + " インチ"));
        QVERIFY(check->sizeAdvice->text().contains(
            QStringLiteral("最も近いのは %1 インチ").arg(ratio == 1.0 ? 12 : 25)));

        // The main window and the test stay as they were.
        QCOMPARE(main_->randort->pixelSize(), ringBefore);
        QVERIFY(main_->test().gamensize().isEmpty() && main_->test().kyori().isEmpty());

        // A calibration in the main window shows when the user comes back; still one window.
        main_->inti->setEditText(QStringLiteral("19"));
        main_->cm->setEditText(QStringLiteral("150"));
        main_->test().calibrate(Control::cm);
        QCOMPARE(openCheck(), check);
        QCOMPARE(main_->findChildren<frmGamen *>().size(), 1);
        QCOMPARE(rowTexts(check->ringTable, 0),
                 gamentexts::cellTexts(screencheck::ringRows({19, 150, 0.2745, ratio}).front()));

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
        const std::optional<double> screen = screensPitch(check->screen());
        QVERIFY(screen);
        QCOMPARE(check->pitchMm(), screen);
        const int start = int(std::lround(pixelpitch::cardWidthPx(*screen)));
        QCOMPARE(check->cardSlider->value(), start);

        for (int i = 0; i < 5; ++i)
            QTest::keyClick(check, Qt::Key_Plus);
        QTest::keyClick(check, Qt::Key_Minus);
        QTest::mouseClick(check->larger, Qt::LeftButton);
        const int matched = start + 5;
        QCOMPARE(check->card->cardInScreenPixels().width(), matched);
        QCOMPARE(*check->pitchMm(), pixelpitch::fromCardWidthPx(matched));
        QVERIFY(check->ringHeading->text().contains(QStringLiteral("まだ保存していません")));
        QVERIFY(!settings_->loadPixelPitchMm()); // nothing stored before the user says so
        QCOMPARE(rowTexts(check->ringTable, 0),
                 gamentexts::cellTexts(
                     screencheck::ringRows({14, 100, *check->pitchMm(), check->devicePixelRatioF()})
                         .front()));

        QTest::mouseClick(check->storeButton, Qt::LeftButton);
        QVERIFY(check->sourceLabel->text().startsWith(QStringLiteral("カードで測って保存した値")));
        // A new window, as after the program started again, draws the same outline.
        const QPointer<frmGamen> closed = check;
        check->close();
        QTRY_VERIFY(closed.isNull());
        QCOMPARE(std::lround(pixelpitch::cardWidthPx(*Settings(settingsFile_).loadPixelPitchMm())),
                 long(matched));
        check = openCheck();
        QVERIFY(check);
        QCOMPARE(check->card->cardInScreenPixels().width(), matched);
        QVERIFY(!check->storeButton->isEnabled());

        QTest::mouseClick(check->forgetButton, Qt::LeftButton);
        QVERIFY(!settings_->loadPixelPitchMm());
        QCOMPARE(check->pitchMm(), screen);
    }

    void badStoredPitchFallsBackToTheScreensReport_data()
    {
        QTest::addColumn<QString>("stored");
        for (const char *bad : {"abc", "0", "-0.27", "nan", "5", "0.001"})
            QTest::newRow(bad) << QString::fromLatin1(bad);
    }

    void badStoredPitchFallsBackToTheScreensReport()
    {
        QFETCH(QString, stored);
        storeRaw(stored);
        frmGamen *check = openCheck();
        QVERIFY(check);
        QCOMPARE(check->pitchMm(), screensPitch(check->screen()));
        QVERIFY(check->sourceLabel->text().startsWith(QStringLiteral("画面が報告する大きさ")));
        QVERIFY(check->doubtLabel->text().startsWith(QStringLiteral("保存されていた値")));
        QCOMPARE(check->ringTable->rowCount(), 21);
    }

    // The card is a whole number of the screen's own pixels wide, whatever the scaling:
    // 85.60 / 0.2745 = 311.8, 312 pixels; 53.98 / 0.2745 = 196.6, 197 pixels.
    void cardIsDrawnInTheScreensPixels()
    {
        storeRaw(QStringLiteral("0.2745"));
        frmGamen *check = openCheck();
        QVERIFY(check);
        const QImage image = check->card->grab().toImage();
        QCOMPARE(image.devicePixelRatio(), check->devicePixelRatioF());
        const QRect card = check->card->cardInScreenPixels();
        QCOMPARE(outlineSpan(image, QPoint(0, card.center().y()), QPoint(1, 0)), 312);
        // Left of the label in the middle, right of the rounded corner.
        QCOMPARE(outlineSpan(image, QPoint(card.left() + card.width() / 8, 0), QPoint(0, 1)), 197);
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
        const auto *scroll = check->findChild<QScrollArea *>();
        QTRY_VERIFY(scroll->widget()->width() <= scroll->viewport()->width()); // no sideways
        for (QAbstractButton *button : check->findChildren<QAbstractButton *>())
            QVERIFY2(button->size().expandedTo(button->sizeHint()) == button->size(),
                     qPrintable(button->text()));
        for (QLabel *label : check->findChildren<QLabel *>()) {
            // A text that changed wraps anew once the layout has caught up.
            if (label->isVisible() && label->wordWrap())
                QTRY_VERIFY2(label->height() >= label->heightForWidth(label->width()),
                             qPrintable(label->text()));
            else if (label->isVisible())
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        }
        const QTableWidget *table = check->ringTable;
        QVERIFY(table->horizontalHeader()->length() <= table->viewport()->width());
        for (int c = 0; c < table->columnCount(); ++c)
            for (int r = -1; r < table->rowCount(); ++r) {
                const QString text =
                    r < 0 ? table->horizontalHeaderItem(c)->text() : table->item(r, c)->text();
                QVERIFY2(table->columnWidth(c) >= table->fontMetrics().horizontalAdvance(text),
                         qPrintable(text));
            }
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

MITOON_TEST_MAIN(TestFrmGamen)

#include "test_frmgamen.moc"
