#include "platform/systemcolor.h"

#include <QPalette>
#include <QWidget>

namespace mitoon {

QColor systemColor(SystemColor color)
{
    switch (color) {
    case SystemColor::CaptionText:
    case SystemColor::HighlightText:
        return QColor(255, 255, 255);
    case SystemColor::ThreeDLight:
        return QColor(227, 227, 227);
    }
    return QColor(255, 255, 255);
}

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    // Buttons fill their background with the button colour.
    palette.setColor(widget->backgroundRole(), color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace mitoon
