#include "info/browser/addresscombobox.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace mitoon {

AddressComboBox::AddressComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    // The list is the history of completed navigations; typed text never joins it by itself.
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    setCompleter(nullptr);
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, &AddressComboBox::Click);
}

void AddressComboBox::setListIndex(int index)
{
    setCurrentIndex(index);
    emit Click();
}

bool AddressComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            emit KeyPress(13);
            // The combo box's own Enter would pick or add a list entry on top of the
            // navigation the window starts.
            return true;
        }
        const QString text = key->text();
        if (text.size() == 1 && text.at(0).unicode() >= 0x20)
            emit KeyPress(text.at(0).unicode());
    }
    return QComboBox::eventFilter(watched, event);
}

} // namespace mitoon
