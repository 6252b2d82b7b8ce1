#pragma once

#include <QPointer>
#include <QRadioButton>

namespace mitoon {

// An option button. Buttons in one container clear each other when one is selected; unlike
// Qt's auto-exclusive radio buttons each of them is a stop of its own in the Tab order, and a
// click on the selected one leaves it selected.
class OptionButton : public QRadioButton
{
    Q_OBJECT
public:
    explicit OptionButton(const QString &text, QWidget *parent = nullptr);

protected:
    void nextCheckState() override;

private:
    void clearSiblings();
};

} // namespace mitoon
