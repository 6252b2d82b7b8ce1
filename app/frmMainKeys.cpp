#include "acuity/keyanswers.h"
#include "app/frmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

// The keys of the test: the keyboard and the numeric keypad answer, start and choose, whichever
// control of the window has the focus.
namespace mitoon {

bool frmMain::answerKey(QObject *receiver, QKeyEvent *key)
{
    // Keys that go to another window of the program, a popup list or a menu are theirs alone.
    auto *widget = qobject_cast<QWidget *>(receiver);
    if (!widget || widget->window() != this || !isActiveWindow() ||
        QApplication::activePopupWidget())
        return false;
    QWidget *focused = QApplication::focusWidget();
    const auto within = [focused](QWidget *box) {
        return focused && (focused == box || box->isAncestorOf(focused));
    };
    const KeyFocus focus = within(inti) || within(cm)             ? KeyFocus::numberBox
                           : qobject_cast<QPushButton *>(focused) ? KeyFocus::pushButton
                                                                  : KeyFocus::other;
    const KeyAction action = keyAction(key->key(), key->modifiers(), test_.running(), focus);
    if (action.kind == KeyAction::passOn)
        return false;
    // A key held down answers once.
    if (key->isAutoRepeat())
        return true;
    switch (action.kind) {
    case KeyAction::answer:
        // As a press with the mouse, the answer first takes the focus from `tugi`.
        control(action.control)->setFocus(Qt::OtherFocusReason);
        answer_Click(action.control, answerButton(action.control).index);
        break;
    case KeyAction::click:
        static_cast<QAbstractButton *>(control(action.control))->click();
        break;
    case KeyAction::focus:
        control(action.control)->setFocus(Qt::OtherFocusReason);
        break;
    case KeyAction::passOn:
    case KeyAction::ignore:
        break;
    }
    return true;
}

} // namespace mitoon
