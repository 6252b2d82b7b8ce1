#include "app/frmMain.h"
#include "app/ringimage.h"
#include "platform/screenplacement.h"
#include "platform/twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

// What the acuity test sees of the main window: its controls by name, their texts and states,
// and the ring with the room the window has for it.
namespace mitoon {

QWidget *frmMain::control(Control control) const
{
    return controls_.withId(int(control));
}

QString frmMain::text(Control which) const
{
    QWidget *widget = control(which);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentText();
    if (auto *line = qobject_cast<QLineEdit *>(widget))
        return line->text();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        return plain->toPlainText();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    return {};
}

void frmMain::setText(Control which, const QString &text)
{
    QWidget *widget = control(which);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        combo->setEditText(text);
    else if (auto *line = qobject_cast<QLineEdit *>(widget)) {
        line->setText(text);
        // A text set by the program shows from its start, as the caret goes to its start.
        line->setCursorPosition(0);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        plain->setPlainText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(text);
}

void frmMain::setEnabled(Control which, bool enabled)
{
    control(which)->setEnabled(enabled);
}

void frmMain::setVisible(Control which, bool visible)
{
    control(which)->setVisible(visible);
}

void frmMain::setChecked(Control which, bool checked)
{
    if (auto *option = qobject_cast<QRadioButton *>(control(which)))
        option->setChecked(checked);
}

void frmMain::setFocus(Control which)
{
    control(which)->setFocus(Qt::OtherFocusReason);
}

float frmMain::ringWidth() const
{
    return randort->widthUnits();
}

float frmMain::ringHeight() const
{
    return randort->heightUnits();
}

void frmMain::setRingWidth(float units)
{
    randort->setWidthUnits(units);
}

void frmMain::setRingHeight(float units)
{
    randort->setHeightUnits(units);
}

void frmMain::setRingPicture(int orientation)
{
    if (orientation >= 1 && orientation <= 8)
        randort->setPicture(holders[orientation - 1]->pixmap());
}

QSize frmMain::nonClientSize() const
{
    return frameGeometry().size() - client_->size();
}

RingRoom frmMain::ringRoom() const
{
    // From the ring's fixed corner to the right edge and down to the status bar.
    const QPoint corner = randort->pos();
    const int barHeight = twips::toPixelsRounded(kStatusBarHeight);
    const QSize most = screenplacement::availableArea(this).size() - nonClientSize();
    return {twips::fromPixels(client_->width() - corner.x()),
            twips::fromPixels(client_->height() - barHeight - corner.y()),
            twips::fromPixels(most.width() - corner.x()),
            twips::fromPixels(most.height() - barHeight - corner.y())};
}

void frmMain::growRingRoom(double widthTwips, double heightTwips)
{
    const QPoint corner = randort->pos();
    const int barHeight = twips::toPixelsRounded(kStatusBarHeight);
    const QSize needed(corner.x() + int(std::ceil(twips::toPixels(widthTwips))),
                       corner.y() + int(std::ceil(twips::toPixels(heightTwips))) + barHeight);
    const QSize client = client_->size().expandedTo(needed);
    if (client == client_->size())
        return;
    const QRect outer(frameGeometry().topLeft(), client + nonClientSize());
    const QRect placed =
        screenplacement::keepInside(outer, screenplacement::availableArea(this), true);
    resize(QMainWindow::size() + (placed.size() - frameGeometry().size()));
    move(placed.topLeft());
}

} // namespace mitoon
