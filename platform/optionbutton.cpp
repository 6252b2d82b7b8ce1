#include "platform/optionbutton.h"

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
