#include "platform/formkit.h"

#include "platform/twips.h"

#include <QPalette>
#include <QWidget>

namespace mitoon::formkit {

void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twips::rect(left, top, width, height));
}

void setClientSize(QWidget *window, int width, int height, bool sizable)
{
    const QSize size(twips::toPixelsRounded(width), twips::toPixelsRounded(height));
    if (sizable)
        window->resize(size);
    else
        window->setFixedSize(size);
}

QFont font(const QString &family, double points, bool bold)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    return f;
}

QFont fixedFont(const QString &family, double points, bool bold)
{
    QFont f = font(family, points, bold);
    f.setStyleStrategy(QFont::NoFontMerging);
    return f;
}

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/assets/icon.png"));
}

QColor systemColor(SystemColor color)
{
    switch (color) {
    case SystemColor::Window:
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

void registerFontSubstitutions()
{
    QFont::insertSubstitution(kPGothic, QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(kGothic, QStringLiteral("IPAGothic"));
}

} // namespace mitoon::formkit
