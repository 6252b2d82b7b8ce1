#pragma once

#include <QComboBox>

namespace mitoon {

// The browser window's address box: an editable combo box whose list is the history. Its Click
// reports every selection of an entry, by the user or by code (setListIndex), and KeyPress
// every character key typed into it.
class AddressComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit AddressComboBox(QWidget *parent = nullptr);

    // Selects entry `index` from code; raises Click like a selection by the user.
    void setListIndex(int index);

signals:
    void Click();
    void KeyPress(int KeyAscii);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace mitoon
