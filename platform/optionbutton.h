#pragma once

#include <QPointer>
#include <QRadioButton>

namespace mitoon {

// An option button. Buttons in one container clear each other when one is selected; unlike
// Qt's auto-exclusive radio buttons each of them is a stop of its own in the Tab order, and a
// click on the selected one leaves it selected. The arrow keys move to the next or previous
// button of the container and select it, as a click does; they never leave the group.
class OptionButton : public QRadioButton
{
    Q_OBJECT
public:
    explicit OptionButton(const QString &text, QWidget *parent = nullptr);

protected:
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void clearSiblings();
    // The buttons of this container that can take the focus, this one among them.
    QList<OptionButton *> group() const;
};

} // namespace mitoon
