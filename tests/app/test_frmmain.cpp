#include "acuity/calibration.h"
#include "app/frmMain.h"
#include "app/menucommands.h"
#include "app/ringimage.h"
#include "app/settings.h"
#include "platform/drivepath.h"
#include "platform/fonts.h"
#include "platform/formlayout.h"
#include "platform/statusbar.h"
#include "platform/twips.h"
#include "records/frmHyouji.h"
#include "support/isolatedhome.h"
#include "support/layoutcheck.h"
#include "support/mainwindow.h"
#include "support/testmain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace mitoon;
using mitoon::testing::settle;

namespace {

// The bounding box of the dark pixels of `image` within `area`.
QRect inkBox(const QImage &image, const QRect &area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                box |= QRect(x, y, 1, 1);
    return box;
}

void pressAndRelease(QWidget *widget)
{
    QTest::mousePress(widget, Qt::LeftButton);
    settle();
    QTest::mouseRelease(widget, Qt::LeftButton);
    settle();
}

// The user picks an item from a combo box's drop-down list with the mouse.
void pickItem(QComboBox *combo, const QString &text)
{
    combo->showPopup();
    auto *view = combo->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QModelIndex index = combo->model()->index(combo->findText(text), 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    settle();
}

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

    testing::MainWindowFixture main_;
    QString &settingsFile_ = main_.settingsFile;
    std::unique_ptr<Settings> &settings_ = main_.settings;
    std::unique_ptr<frmMain> &window_ = main_.window;
    QStringList &steps_ = main_.steps; // "tugi" for each draw, "kekka" for each result step

    frmMain *open() { return main_.open(); }
    int shown() const { return main_.shown(); }
    QPushButton *buttonFor(int orientation) const
    {
        return static_cast<QPushButton *>(window_->control(buttonAccepting(orientation).control));
    }
    void answerRight() { QTest::mouseClick(buttonFor(shown()), Qt::LeftButton), settle(); }
    void answerWrong() { QTest::mouseClick(buttonFor(shown() % 8 + 1), Qt::LeftButton), settle(); }

private slots:

    void init() { main_.setUp("test"); }
    void cleanup() { main_.tearDown(); }

    void layout()
    {
        using enum formlayout::Kind;
        using fonts::kPGothic;
        const formlayout::Font normal{kPGothic, 9};
        const formlayout::Font answer{kPGothic, 18};
        const formlayout::Look white{.background = Qt::white};
        const formlayout::Look disabled{.disabled = true};
        // clang-format off
        const formlayout::Row expected[] = {
            // name             kind          text                    left, top, width, height  font                     tab
            {"Picture1",        picture,      ":/assets/logo.png",    { 960,  120, 1935,  375}, normal,                  34, {.tabStop = true}},
            {"size",            textBox,      "ディスプレイサイズ",   {1080,  600, 1695,  270}, normal,                  14},
            {{"inti", 0},       comboBox,     "14",                   {1080,  960,  615,  300}, normal,                  1},
            {{"Label1", 0},     label,        "インチ",               {1800,  960,  615,  255}, normal,                  25, white},
            {"kyoritext",       textBox,      "ディスプレイとの距離", {1080, 1320, 1695,  270}, normal,                  15},
            {"tugi",            flatTextBox,  "",                     {2400, 1320,  195,  165}, {kPGothic, 8.25},        27},
            {{"cm", 1},         comboBox,     "100",                  {1080, 1680,  735,  300}, normal,                  2},
            {{"Label1", 1},     label,        "cm",                   {1920, 1800,  615,  255}, normal,                  26, white},
            {{"hidarime", 0},   optionButton, "左目",                 {1200, 2040,  735,  495}, normal,                  4,  white},
            {{"migime", 1},     optionButton, "右目",                 {1920, 2040,  735,  495}, normal,                  5,  white},
            {"start",           button,       "スタート",             {1200, 2640, 1215,  495}, {kPGothic, 15.75, true}, 3},
            {{"ue", 0},         button,       "上",                   {1320, 3240,  975,  735}, answer,                  6,  disabled},
            {{"migiue", 1},     button,       "右上",                 {2280, 3480,  975,  735}, answer,                  7,  disabled},
            {{"hidariue", 6},   button,       "左上",                 { 360, 3480,  975,  735}, answer,                  12, disabled},
            {{"hidari", 5},     button,       "左",                   { 240, 4200,  975,  735}, answer,                  11, disabled},
            {"matigaihyouji",   flatTextBox,  "",                     {1920, 4200,  495,  615}, {kPGothic, 26.25, true}, 32},
            {{"migi", 2},       button,       "右",                   {2400, 4200,  975,  735}, answer,                  8,  disabled},
            {"matigaikoumoku",  flatTextArea, "",                     {1320, 4440,  615,  255}, normal,                  31},
            {{"hidarisita", 7}, button,       "左下",                 { 360, 4920,  975,  735}, answer,                  13, disabled},
            {{"migisita", 3},   button,       "右下",                 {2280, 4920,  975,  735}, answer,                  9,  disabled},
            {{"sita", 4},       button,       "下",                   {1320, 5160,  975,  735}, answer,                  10, disabled},
            {"siryokuhyouji",   flatTextBox,  "",                     {2040, 5880,  615,  615}, {kPGothic, 20.25, true}, 28},
            {"kekka",           flatTextBox,  "",                     { 240, 6000, 1815,  495}, normal,                  30},
            {"kekkadesu",       flatTextBox,  "",                     {2760, 6000,  975,  375}, {kPGothic, 9.75},        29},
            {"kekkakiroku",     button,       "今回の結果を保存",     { 720, 6600, 2175,  495}, {kPGothic, 12, true},    33, {.hidden = true}},

        };
        // clang-format on
        const QStringList differences = testing::layoutMismatches(window_.get(), expected);
        QVERIFY2(differences.isEmpty(), qPrintable(differences.join(u'\n')));
        // The answer buttons' indexes in the layout are those the test logic knows them by.
        for (const AnswerButton &button : kAnswerButtons)
            QCOMPARE(formlayout::index(window_->control(button.control)), button.index);
    }

    void initialState()
    {
        frmMain *w = window_.get();
        QCOMPARE(w->windowTitle(), QStringLiteral("ミトーン(p_-)"));
        QVERIFY(!w->kekkakiroku->isVisible());
        QVERIFY(!w->hidarime->isChecked() && !w->migime->isChecked());
        QCOMPARE(w->inti->count(), 8);
        QCOMPARE(w->cm->count(), 6);
        QCOMPARE(w->inti->itemText(7), QStringLiteral("32"));
        QCOMPARE(w->cm->itemText(5), QStringLiteral("300"));
        for (QLabel *holder : w->holders)
            QVERIFY(!holder->isVisible());
        // The closed ring at its layout size of 465 × 405 twips, top-left at 4440, 840.
        QCOMPARE(w->randort->pos(), twips::rect(4440, 840, 0, 0).topLeft());
        QVERIFY(qAbs(w->randort->widthTwips() - 465) < 0.01);
        QVERIFY(qAbs(w->randort->heightTwips() - 405) < 0.01);
        QCOMPARE(w->randort->picture().toImage(), QImage(QStringLiteral(":/assets/ring0.png")));
        QCOMPARE(QApplication::focusWidget(), w->inti);
        QCOMPARE(w->Bar->panelTexts().first(), QStringLiteral("ｽﾃｰﾀｽ"));
        QCOMPARE(w->Bar->geometry().bottom(), w->centralWidget()->height() - 1);
    }

    void tabOrderSkipsWhatCannotTakeTheFocus()
    {
        frmMain *w = window_.get();
        // Backwards from inti: Picture1, (kekkakiroku hidden), kyoritext, size, (disabled
        // answer buttons), the eye buttons, then start.
        QList<QWidget *> seen;
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            seen << QApplication::focusWidget();
        }
        QCOMPARE(seen,
                 (QList<QWidget *>{w->Picture1, w->kyoritext, w->size, w->migime, w->hidarime}));
        QCOMPARE(steps_, QStringList());
    }

    void tabOntoStartStartsATest()
    {
        frmMain *w = window_.get();
        QTest::keyClick(w->inti, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->cm);
        QTest::keyClick(w->cm, Qt::Key_Tab);
        settle();
        QCOMPARE(steps_, QStringList{"tugi"});
        QCOMPARE(QApplication::focusWidget(), w->tugi);
        QVERIFY(!w->start->isEnabled());
        QVERIFY(w->ue->isEnabled());
        // No eye was chosen: the test measures the left eye.
        QVERIFY(w->hidarime->isChecked());
        QCOMPARE(w->Bar->panelTexts().first(), QStringLiteral("左目測定中"));
        // 930 × 810 twips: 62 × 54 pixels.
        QCOMPARE(w->randort->size(), QSize(62, 55));
        QVERIFY(qAbs(w->randort->pixelSize().width() - 62) < 0.05);
        QVERIFY(qAbs(w->randort->pixelSize().height() - 54.005) < 0.05);
        QCOMPARE(w->randort->picture().toImage(),
                 QImage(QStringLiteral(":/assets/ring%1.png").arg(shown())));
    }

    void pickingAListItemResizesTheRing()
    {
        frmMain *w = window_.get();
        pickItem(w->cm, QStringLiteral("300"));
        QCOMPARE(w->cm->currentText(), QStringLiteral("300"));
        // 14 inches at 300 cm.
        QVERIFY(qAbs(w->randort->widthTwips() - 2790) < 1);
        pickItem(w->inti, QStringLiteral("12"));
        QVERIFY(qAbs(w->randort->widthTwips() - 3255) < 1);
        QVERIFY(qAbs(w->randort->heightTwips() - 2835) < 1);
        // The ring grows to the right and downwards; its corner stays.
        QCOMPARE(w->randort->pos(), twips::rect(4440, 840, 0, 0).topLeft());
    }

    void ringPastTheClientAreaGrowsTheWindow()
    {
        frmMain *w = window_.get();
        const QPoint corner = w->frameGeometry().topLeft();
        pickItem(w->cm, QStringLiteral("300"));
        pickItem(w->inti, QStringLiteral("12")); // 217 × 189 pixels right of x = 296
        settle();
        const QRect room = w->centralWidget()->rect().adjusted(0, 0, 0, -w->Bar->height());
        QVERIFY2(room.contains(w->randort->geometry()),
                 qPrintable(QStringLiteral("ring %1 × %2 in a client area %3 × %4")
                                .arg(w->randort->width())
                                .arg(w->randort->height())
                                .arg(w->centralWidget()->width())
                                .arg(w->centralWidget()->height())));
        QCOMPARE(w->frameGeometry().topLeft(), corner);
        QVERIFY(w->screen()->availableGeometry().contains(w->frameGeometry()));
        // A smaller ring leaves the window as it is.
        const QSize grown = w->frameGeometry().size();
        pickItem(w->cm, QStringLiteral("100"));
        QCOMPARE(w->frameGeometry().size(), grown);
    }

    void typingAloneChangesNothing()
    {
        frmMain *w = window_.get();
        w->inti->lineEdit()->selectAll();
        QTest::keyClicks(w->inti->lineEdit(), QStringLiteral("19"));
        settle();
        QVERIFY(qAbs(w->randort->widthTwips() - 465) < 0.01);
        // Leaving the box with a text that is on the list is no pick either.
        QTest::keyClick(w->inti, Qt::Key_Tab);
        settle();
        QCOMPARE(QApplication::focusWidget(), w->cm);
        QVERIFY(qAbs(w->randort->widthTwips() - 465) < 0.01);
        pickItem(w->cm, QStringLiteral("150"));
        QVERIFY(qAbs(w->randort->widthTwips() - 930 * 14.0 / 19 * 1.5) < 0.5);
    }

    void mousePressOnStartStartsWithoutAClick()
    {
        frmMain *w = window_.get();
        QSignalSpy clicked(w->start, &QPushButton::clicked);
        pressAndRelease(w->start);
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(steps_, QStringList{"tugi"});
        QCOMPARE(w->matigaihyouji->text(), QStringLiteral("0"));
        QCOMPARE(w->matigaikoumoku->toPlainText(), QStringLiteral("間違い"));
    }

    void endingAnswerRunsTrialResultTrialInOrder()
    {
        frmMain *w = window_.get();
        QString countAtResult;
        double widthAtResult = 0;
        connect(w, &frmMain::beeped, this, [&] {
            countAtResult = w->matigaihyouji->text();
            widthAtResult = w->randort->widthTwips();
        });
        pressAndRelease(w->start);
        answerWrong();
        const double widthBefore = w->randort->widthTwips();
        steps_.clear();
        answerWrong();
        QCOMPARE(steps_, (QStringList{"tugi", "kekka", "tugi"}));
        QCOMPARE(countAtResult, QStringLiteral("2"));
        // The ending answer shrank the ring before the result step ran.
        QVERIFY(widthAtResult < widthBefore * 0.86);
        QCOMPARE(widthAtResult, w->randort->widthTwips());
        QVERIFY(!w->ue->isEnabled());
        QVERIFY(w->start->isEnabled());
    }

    void fullTestForEachEye()
    {
        frmMain *w = window_.get();
        QTest::mouseClick(w->hidarime, Qt::LeftButton);
        QCOMPARE(w->Bar->panelTexts().first(), QStringLiteral("左目測定中"));
        pressAndRelease(w->start);
        for (int i = 0; i < 7; ++i)
            answerRight();
        answerWrong();
        answerWrong();
        QCOMPARE(w->kekka->text(), QStringLiteral("あなたの左目の視力は"));
        QCOMPARE(w->siryokuhyouji->text(), QStringLiteral("0.8"));
        QCOMPARE(w->kekkadesu->text(), QStringLiteral("です"));
        QVERIFY(!w->kekkakiroku->isVisible());

        QTest::mouseClick(w->migime, Qt::LeftButton);
        QCOMPARE(w->Bar->panelTexts().first(), QStringLiteral("右目測定中"));
        pressAndRelease(w->start);
        for (int i = 0; i < 11; ++i)
            answerRight();
        answerWrong();
        answerRight();
        answerWrong();
        answerWrong();
        QCOMPARE(w->kekka->text(), QStringLiteral("あなたの右目の視力は"));
        QCOMPARE(w->siryokuhyouji->text(), QStringLiteral("1.3"));
        QVERIFY(w->kekkakiroku->isVisible());
        QCOMPARE(steps_.count(QStringLiteral("kekka")), 2);
    }

    void saveButtonHidesAfterASuccessfulSaveOnly()
    {
        frmMain *w = window_.get();
        for (QRadioButton *eye :
             {static_cast<QRadioButton *>(w->hidarime), static_cast<QRadioButton *>(w->migime)}) {
            QTest::mouseClick(eye, Qt::LeftButton);
            pressAndRelease(w->start);
            answerRight();
            answerWrong();
            answerWrong();
        }
        QVERIFY(w->kekkakiroku->isVisible());
        const QString file = drive::localPath(drive::kRecordFile);
        QFile::remove(file);

        // A folder where the file should be: the save fails with a message, the button stays.
        QVERIFY(QDir().mkpath(file));
        QString message;
        QTimer::singleShot(0, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                message = box->text();
                box->accept();
            }
        });
        QTest::mouseClick(w->kekkakiroku, Qt::LeftButton);
        settle();
        QVERIFY2(message.contains(file), qPrintable(message));
        QVERIFY(w->kekkakiroku->isVisible());
        QCOMPARE(w->test().hidarikekka().toText(), QStringLiteral("0.2"));

        QVERIFY(QDir(file).removeRecursively());
        QTest::mouseClick(w->kekkakiroku, Qt::LeftButton);
        settle();
        QVERIFY(!w->kekkakiroku->isVisible());
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray line = saved.readAll();
        QVERIFY2(QRegularExpression(
                     QStringLiteral(R"(^#\d{4}-\d\d-\d\d#,"\d\d:\d\d:\d\d","0.2","0.2"\r\n$)"))
                     .match(QString::fromLatin1(line))
                     .hasMatch(),
                 line.constData());
    }

    void clickIntoTugiDrawsWithoutScoring()
    {
        frmMain *w = window_.get();
        pressAndRelease(w->start);
        answerRight();
        const double width = w->randort->widthTwips();
        QTest::mouseClick(w->kekkadesu, Qt::LeftButton);
        settle();
        steps_.clear();
        QTest::mouseClick(w->tugi, Qt::LeftButton);
        settle();
        QCOMPARE(steps_, QStringList{"tugi"});
        QCOMPARE(w->randort->widthTwips(), width);
        QCOMPARE(w->test().tensuu().integerValue(), 20);
    }

    // The records window takes the focus into its text box; back in the main window the focus
    // returns to `tugi`, which is no move there: no extra ring is drawn.
    void focusInAnotherWindowOfTheProgramIsNoMove()
    {
        frmMain *w = window_.get();
        pressAndRelease(w->start);
        QCOMPARE(QApplication::focusWidget(), w->tugi);
        steps_.clear();
        menucommands::mnuFileOpen();
        QPointer<frmHyouji> records = frmHyouji::loaded();
        QVERIFY(records && QTest::qWaitForWindowActive(records));
        QVERIFY(QApplication::focusWidget() && QApplication::focusWidget()->window() == records);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        settle();
        QCOMPARE(QApplication::focusWidget(), w->tugi);
        QCOMPARE(steps_, QStringList());
        records->close();
    }

    void arrowKeysSelectWithinTheEyeGroup_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("fromLeft");
        QTest::newRow("right from 左目") << int(Qt::Key_Right) << true;
        QTest::newRow("down from 左目") << int(Qt::Key_Down) << true;
        QTest::newRow("left from 左目") << int(Qt::Key_Left) << true;
        QTest::newRow("left from 右目") << int(Qt::Key_Left) << false;
        QTest::newRow("up from 右目") << int(Qt::Key_Up) << false;
        QTest::newRow("right from 右目") << int(Qt::Key_Right) << false;
    }

    // On an eye button the arrow keys select the other button of the group; they never move
    // on to "スタート", which would start a test.
    void arrowKeysSelectWithinTheEyeGroup()
    {
        QFETCH(int, key);
        QFETCH(bool, fromLeft);
        frmMain *w = window_.get();
        QRadioButton *from = fromLeft ? w->hidarime : w->migime;
        QRadioButton *to = fromLeft ? w->migime : w->hidarime;
        from->setFocus(Qt::TabFocusReason);
        settle();
        QTest::keyClick(from, Qt::Key(key));
        settle();
        QCOMPARE(QApplication::focusWidget(), to);
        QVERIFY(to->isChecked());
        QVERIFY(!from->isChecked());
        QCOMPARE(w->Bar->panelTexts().first(),
                 fromLeft ? QStringLiteral("右目測定中") : QStringLiteral("左目測定中"));
        QCOMPARE(steps_, QStringList());
        QVERIFY(w->start->isEnabled());
    }

    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Return") << int(Qt::Key_Return);
    }

    void enterPressesTheFocusedButton()
    {
        QFETCH(int, key);
        frmMain *w = window_.get();
        pressAndRelease(w->start);
        QPushButton *wrong = buttonFor(shown() % 8 + 1);
        const double width = w->randort->widthTwips();
        wrong->setFocus(Qt::TabFocusReason);
        settle();
        steps_.clear();
        QTest::keyClick(wrong, Qt::Key(key));
        settle();
        QCOMPARE(w->matigaihyouji->text(), QStringLiteral("1"));
        QCOMPARE(steps_, QStringList{"tugi"});
        QVERIFY(qAbs(w->randort->widthTwips() - width * 0.8) < 0.01);
    }

    void flatBoxesShowTheirTextsWhole_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        for (int score = 0; score <= 190; score += 10) {
            const QString value = AcuityTest::acuityText(std::int16_t(score));
            QTest::newRow(qPrintable(QStringLiteral("siryokuhyouji ") + value))
                << int(Control::siryokuhyouji) << value;
        }
        QTest::newRow("kekka left")
            << int(Control::kekka) << QStringLiteral("あなたの左目の視力は");
        QTest::newRow("kekka right")
            << int(Control::kekka) << QStringLiteral("あなたの右目の視力は");
        QTest::newRow("kekkadesu") << int(Control::kekkadesu) << QStringLiteral("です");
        for (const char *count : {"0", "1", "2"})
            QTest::newRow(count) << int(Control::matigaihyouji) << QString::fromLatin1(count);
        QTest::newRow("matigaikoumoku") << int(Control::matigaikoumoku) << QStringLiteral("間違い");
    }

    // Inside its one-pixel frame a flat box shows as much of its text as the text alone has:
    // nothing is cut off and nothing scrolled out of sight.
    void flatBoxesShowTheirTextsWhole()
    {
        QFETCH(int, box);
        QFETCH(QString, text);
        frmMain *w = window_.get();
        w->setText(Control(box), text);
        QWidget *widget = w->control(Control(box));
        const QImage shown = widget->grab().toImage();
        const QRect inside = QRect(QPoint(0, 0), shown.size()).adjusted(1, 1, -1, -1);
        const QRect ink = inkBox(shown, inside);

        QImage alone(400, 120, QImage::Format_RGB32);
        alone.fill(Qt::white);
        {
            QPainter painter(&alone);
            painter.setFont(widget->font());
            painter.setPen(Qt::black);
            painter.drawText(20, 80, text);
        }
        const QRect whole = inkBox(alone, alone.rect());
        QVERIFY(!whole.isEmpty());
        // No margin between the frame and the text: it starts right inside the frame.
        QCOMPARE(ink.x() - inside.x(), whole.x() - 20);
        QVERIFY2(ink.size() == whole.size(),
                 qPrintable(QStringLiteral("ink %1 × %2 at %3 in a box of %4 × %5; alone %6 × %7")
                                .arg(ink.width())
                                .arg(ink.height())
                                .arg(ink.x())
                                .arg(shown.width())
                                .arg(shown.height())
                                .arg(whole.width())
                                .arg(whole.height())));
    }

    // `tugi` lies under its caption: the caption's pixels in the window are its own, and a
    // press on the place of `tugi` still gives `tugi` the focus.
    void captionReadsWholeOverTugiWhichStillTakesAClick()
    {
        frmMain *w = window_.get();
        const QImage inWindow = w->centralWidget()
                                    ->grab(w->kyoritext->geometry())
                                    .toImage()
                                    .convertToFormat(QImage::Format_RGB32);
        const QImage alone = w->kyoritext->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(inWindow, alone);

        pressAndRelease(w->start);
        QTest::mouseClick(w->kekkadesu, Qt::LeftButton);
        settle();
        steps_.clear();
        const QPoint onTugi = w->kyoritext->mapFromParent(w->tugi->geometry().center());
        QTest::mouseClick(w->kyoritext, Qt::LeftButton, {}, onTugi);
        settle();
        QCOMPARE(QApplication::focusWidget(), w->tugi);
        QCOMPARE(steps_, QStringList{"tugi"});
        // Elsewhere the caption takes the click itself.
        QTest::mouseClick(w->kyoritext, Qt::LeftButton, {}, QPoint(5, 5));
        settle();
        QCOMPARE(QApplication::focusWidget(), w->kyoritext);
    }

    void windowReactivationRunsNoStep()
    {
        frmMain *w = window_.get();
        pressAndRelease(w->start);
        QCOMPARE(QApplication::focusWidget(), w->tugi);
        steps_.clear();
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        settle();
        QCOMPARE(steps_, QStringList());
    }

    void closingStoresTheGeometryAndTheNextStartOpensThere()
    {
        frmMain *w = window_.get();
        w->move(120, 80);
        w->resize(500, 560);
        settle();
        const QRect outer = w->frameGeometry();
        w->close();
        const WindowGeometry stored = settings_->loadGeometry();
        QCOMPARE(stored.left, float(outer.x() * 15));
        QCOMPARE(stored.top, float(outer.y() * 15));
        QCOMPARE(stored.width, float(outer.width() * 15));
        QCOMPARE(stored.height, float(outer.height() * 15));
        open();
        QCOMPARE(window_->frameGeometry(), outer);
    }

    void closingClosesTheRecordsWindowToo()
    {
        window_->setAttribute(Qt::WA_DeleteOnClose, false);
        menucommands::mnuFileOpen();
        QPointer<frmHyouji> records = frmHyouji::loaded();
        QVERIFY(records && records->isVisible());
        menucommands::mnuFileOpen(); // the same window again, not a second one
        QCOMPARE(frmHyouji::loaded(), records.data());
        window_->close();
        QTRY_VERIFY(!records);
    }

    void closingMinimizedStoresNothing()
    {
        window_->showMinimized();
        settle();
        window_->close();
        QSettings ini(settingsFile_, QSettings::IniFormat);
        QVERIFY(!ini.contains(QStringLiteral("Settings/MainLeft")));
    }

    void firstStartOpensAtTheDefaults()
    {
        // At 1000, 1000 twips (67, 67 pixels), with the whole layout's client area of
        // 6645 × 7830 twips below the menu bar, so the status bar covers nothing.
        QCOMPARE(window_->frameGeometry().topLeft(), QPoint(67, 67));
        QCOMPARE(window_->centralWidget()->size(), QSize(443, 522));
        QVERIFY(window_->kekkakiroku->geometry().bottom() < window_->Bar->geometry().top());
        QVERIFY(window_->sita->geometry().bottom() < window_->Bar->geometry().top());
    }
};

MITOON_TEST_MAIN(TestFrmMain)

#include "test_frmmain.moc"
