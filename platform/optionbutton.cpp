#include "platform/optionbutton.h"

#include <QKeyEvent>

namespace mitoon {

OptionButton::OptionButton(const QString &text, QWidget *parent) : QRadioButton(text, parent)
{
    setAutoExclusive(false);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (on)
            clearSiblings();
    });
}

void OptionButton::nextCheckState()
{
    if (!isChecked())
        setChecked(true);
}

void OptionButton::keyPressEvent(QKeyEvent *event)
{
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        step = -1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        step = 1;
        break;
    default:
        QRadioButton::keyPressEvent(event);
        return;
    }
    const QList<OptionButton *> buttons = group();
    const qsizetype at = buttons.indexOf(this);
    OptionButton *next = buttons.value((at + step + buttons.size()) % buttons.size());
    if (next && next != this) {
        next->setFocus(Qt::TabFocusReason);
        next->click();
    }
}

QList<OptionButton *> OptionButton::group() const
{
    if (!parentWidget())
        return {const_cast<OptionButton *>(this)};
    QList<OptionButton *> buttons;
    for (OptionButton *button :
         parentWidget()->findChildren<OptionButton *>(Qt::FindDirectChildrenOnly))
        if (button == this || (button->isEnabled() && button->isVisible()))
            buttons.append(button);
    return buttons;
}

void OptionButton::clearSiblings()
{
    if (!parentWidget())
        return;
    for (OptionButton *sibling :
         parentWidget()->findChildren<OptionButton *>(Qt::FindDirectChildrenOnly))
        if (sibling != this)
            sibling->setChecked(false);
}

} // namespace mitoon
