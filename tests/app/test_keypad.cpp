#include "app/frmMain.h"
#include "app/menucommands.h"
#include "app/ringimage.h"
#include "app/settings.h"
#include "platform/fonts.h"
#include "platform/statusbar.h"
#include "records/frmHyouji.h"
#include "support/isolatedhome.h"
#include "support/mainwindow.h"
#include "support/modalwatch.h"
#include "support/testmain.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace mitoon;
using mitoon::testing::settle;

namespace {

// Where a key goes: the open popup list, else the widget with the focus.
QWidget *keyTarget()
{
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    return QApplication::focusWidget();
}

constexpr Qt::KeyboardModifiers kPad = Qt::KeypadModifier;

// Keys go where the window system sends them: to `window` once the program has made it the
// active window and given one of its controls the focus. The window system may report the
// window active a moment before.
bool waitUntilKeysGoTo(QWidget *window)
{
    return QTest::qWaitFor([window] {
        const QWidget *focus = QApplication::focusWidget();
        return QApplication::activeWindow() == window && focus && focus->window() == window;
    });
}

// A key pressed and released, as the window system delivers it; `repeats` more presses of a
// key held down come first, marked as auto-repeated.
void key(int code, Qt::KeyboardModifiers modifiers = kPad, int repeats = 0)
{
    const QString text = code < 0x80 ? QString(QChar(code)) : QString();
    for (int i = 0; i <= repeats; ++i) {
        QKeyEvent press(QEvent::KeyPress, code, modifiers, text, i > 0);
        QApplication::sendEvent(keyTarget(), &press);
    }
    QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
    QApplication::sendEvent(keyTarget(), &release);
    settle();
}

// The keypad digit that answers an orientation, NumLock on and off, and the main keyboard's
// arrow for the four straight directions.
struct Keys
{
    int numLockOn;
    int numLockOff;
    int arrow;
};
const Keys kKeysFor[] = {{},
                         {Qt::Key_8, Qt::Key_Up, Qt::Key_Up},
                         {Qt::Key_9, Qt::Key_PageUp, 0},
                         {Qt::Key_6, Qt::Key_Right, Qt::Key_Right},
                         {Qt::Key_3, Qt::Key_PageDown, 0},
                         {Qt::Key_2, Qt::Key_Down, Qt::Key_Down},
                         {Qt::Key_1, Qt::Key_End, 0},
                         {Qt::Key_4, Qt::Key_Left, Qt::Key_Left},
                         {Qt::Key_7, Qt::Key_Home, 0}};

enum Answer { right, wrong, cannotSee };

} // namespace

class TestKeypad : public QObject
{
    Q_OBJECT

    testing::MainWindowFixture main_;
    std::unique_ptr<frmMain> &window_ = main_.window;
    QStringList &steps_ = main_.steps; // "tugi" for each draw, "kekka" for each result step

    frmMain *open() { return main_.open(); }
    int shown() const { return main_.shown(); }

    // What the window shows after an answer.
    QString seen() const
    {
        frmMain *w = window_.get();
        return QStringLiteral("ring %1 count %2 size %3 × %4 result %5%6%7 status %8")
            .arg(shown())
            .arg(w->matigaihyouji->text())
            .arg(w->randort->widthTwips(), 0, 'f', 4)
            .arg(w->randort->heightTwips(), 0, 'f', 4)
            .arg(w->kekka->text(), w->siryokuhyouji->text(), w->kekkadesu->text(),
                 w->Bar->panelTexts().first());
    }

    // Both eyes, the left one first; every answer is given by `answer`, every start by
    // `start`. Returns what the window showed after each step.
    QStringList playBothEyes(const std::function<void(bool left)> &start,
                             const std::function<void(Answer, int index)> &answer)
    {
        const QList<QList<Answer>> eyes = {
            {right, right, right, wrong, right, right, right, cannotSee, wrong},
            {right, cannotSee, right, wrong, right, right, right, right, right, wrong, cannotSee}};
        QStringList log;
        for (const QList<Answer> &answers : eyes) {
            start(&answers == &eyes.front());
            log << seen();
            for (int i = 0; i < answers.size(); ++i) {
                answer(answers[i], i);
                log << seen();
            }
        }
        log << QStringLiteral("saving %1").arg(window_->kekkakiroku->isVisible());
        log << steps_;
        return log;
    }

private slots:

    void init() { main_.setUp("keypad"); }
    void cleanup() { main_.tearDown(); }

    // The same answers by mouse and by keys give the same rings, counts, results and steps.
    void keysPlayAsTheMouseDoes()
    {
        const QStringList byMouse = playBothEyes(
            [this](bool left) {
                QTest::mouseClick(left ? window_->hidarime : window_->migime, Qt::LeftButton);
                QTest::mousePress(window_->start, Qt::LeftButton);
                settle();
                QTest::mouseRelease(window_->start, Qt::LeftButton);
                settle();
            },
            [this](Answer answer, int) {
                // "見えない" is a wrong answer that shrinks as a plain button: never 右下.
                int orientation = shown();
                if (answer != right)
                    orientation = orientation % 8 + 1;
                if (answer == cannotSee && orientation == 4)
                    orientation = 5;
                const Control button = buttonAccepting(orientation).control;
                QTest::mouseClick(window_->control(button), Qt::LeftButton);
                settle();
            });
        QVERIFY(byMouse.join('\n').contains(QStringLiteral("あなたの左目の視力は0.7です")));
        QVERIFY(byMouse.join('\n').contains(QStringLiteral("あなたの右目の視力は0.8です")));
        QVERIFY(byMouse.contains(QStringLiteral("saving 1")));

        open();
        const QStringList byKeys = playBothEyes(
            [](bool left) {
                key(left ? Qt::Key_Slash : Qt::Key_Asterisk);
                key(Qt::Key_Enter);
            },
            [this](Answer answer, int index) {
                if (answer == cannotSee) {
                    key(index % 2 ? Qt::Key_5 : Qt::Key_Clear);
                    return;
                }
                const Keys &keys = kKeysFor[answer == right ? shown() : shown() % 8 + 1];
                if (index % 3 == 2 && keys.arrow)
                    key(keys.arrow, Qt::NoModifier);
                else
                    key(index % 3 ? keys.numLockOff : keys.numLockOn);
            });
        QCOMPARE(byKeys, byMouse);
        // Nothing was typed into the box that holds the focus during a test.
        QCOMPARE(window_->tugi->text(), QString());
    }

    // A key held down answers once; between tests the answer keys do nothing, except that a
    // size can be typed with them.
    void heldAndIdleKeys()
    {
        frmMain *w = window_.get();
        key(Qt::Key_Enter);
        QVERIFY(w->test().running());
        key(Qt::Key_8, kPad, 5);
        key(Qt::Key_Up, Qt::NoModifier, 5);
        // Two answers shrink the ring to 0.64 of its first size, twelve would to 0.07.
        QVERIFY(qAbs(w->randort->widthTwips() - 930 * 0.64) < 0.5);

        while (w->test().running())
            key(Qt::Key_5);
        steps_.clear();
        for (int code : {Qt::Key_1, Qt::Key_5, Qt::Key_Home})
            key(code);
        QCOMPARE(steps_, QStringList());
        QCOMPARE(w->tugi->text(), QString());
        w->inti->setFocus();
        w->inti->lineEdit()->selectAll();
        key(Qt::Key_1);
        key(Qt::Key_9);
        QCOMPARE(w->inti->currentText(), QStringLiteral("19"));
    }

    void keysForAnotherWindowDoNothing_data()
    {
        QTest::addColumn<QString>("other");
        QTest::newRow("message box") << "message box";
        QTest::newRow("records window") << "records window";
        QTest::newRow("list popup") << "list popup";
    }

    void keysForAnotherWindowDoNothing()
    {
        QFETCH(QString, other);
        frmMain *w = window_.get();
        if (other != QLatin1String("list popup"))
            key(Qt::Key_Enter); // a test runs
        steps_.clear();
        const QString before = seen();
        const auto pressAll = [] {
            for (int code : {Qt::Key_8, Qt::Key_5, Qt::Key_Asterisk})
                key(code);
            key(Qt::Key_Up, Qt::NoModifier);
        };
        if (other == QLatin1String("message box")) {
            bool pressed = false;
            testing::whenModal([&](QWidget *box) {
                pressed = waitUntilKeysGoTo(box);
                pressAll();
                static_cast<QMessageBox *>(box)->reject();
            });
            QMessageBox(QMessageBox::Information, w->windowTitle(), QStringLiteral("?"),
                        QMessageBox::Ok, w)
                .exec();
            QVERIFY(pressed);
        } else if (other == QLatin1String("records window")) {
            menucommands::mnuFileOpen();
            QPointer<frmHyouji> records = frmHyouji::loaded();
            QVERIFY(records && waitUntilKeysGoTo(records));
            pressAll();
            records->close();
        } else {
            w->cm->showPopup();
            QVERIFY(QTest::qWaitForWindowExposed(w->cm->view()->window()));
            pressAll();
            w->cm->hidePopup();
        }
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        settle();
        QCOMPARE(seen(), before);
        QCOMPARE(steps_, QStringList());
        QVERIFY(!w->migime->isChecked());
    }
};

MITOON_TEST_MAIN(TestKeypad)

#include "test_keypad.moc"
