#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace mitoon::testing {

// How much room a text takes in a control against the room the control gives it, in pixels.
struct TextFit
{
    QSize needed;
    QSize available;

    bool fits() const
    {
        return needed.width() <= available.width() && needed.height() <= available.height();
    }
    // For the failure message: "needs 162 x 13 px, has 151 x 15 px".
    QByteArray describe() const
    {
        return QStringLiteral("needs %1 x %2 px, has %3 x %4 px")
            .arg(needed.width())
            .arg(needed.height())
            .arg(available.width())
            .arg(available.height())
            .toUtf8();
    }
};

// The rectangle a label or a button draws its text in: a label's contents less its margin and
// indent, a push button's contents as its style lays them out, the part of an option button or
// check box right of its indicator. Icons are not taken into account.
inline QRect textArea(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        QRect area = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                    -label->margin(), -label->margin());
        // A label with a frame and no indent of its own indents by half an 'x'.
        int indent = label->indent();
        if (indent < 0 && label->frameWidth() > 0)
            indent = label->fontMetrics().horizontalAdvance(u'x') / 2 - label->margin();
        if (indent > 0) {
            const Qt::Alignment align = label->alignment();
            area.adjust(align & Qt::AlignLeft ? indent : 0, align & Qt::AlignTop ? indent : 0,
                        align & Qt::AlignRight ? -indent : 0,
                        align & Qt::AlignBottom ? -indent : 0);
        }
        return area;
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        QStyle::SubElement element = QStyle::SE_PushButtonContents;
        if (const auto *push = qobject_cast<const QPushButton *>(button)) {
            if (push->autoDefault())
                option.features |= QStyleOptionButton::AutoDefaultButton;
            if (push->isDefault())
                option.features |= QStyleOptionButton::DefaultButton;
            if (push->isFlat())
                option.features |= QStyleOptionButton::Flat;
        } else if (qobject_cast<const QRadioButton *>(button)) {
            element = QStyle::SE_RadioButtonContents;
        } else if (qobject_cast<const QCheckBox *>(button)) {
            element = QStyle::SE_CheckBoxContents;
        }
        return button->style()->subElementRect(element, &option, button);
    }
    return widget->contentsRect();
}

// How `text` in `font` fits `widget`'s text area: on one line, or wrapped at the area's width
// in a label that wraps its words. A mnemonic's '&' takes no room where the control shows it as
// an underline (buttons, labels with a buddy).
inline TextFit textFit(const QWidget *widget, const QString &text, const QFont &font)
{
    const QRect area = textArea(widget);
    const QFontMetrics metrics(font, widget);
    const auto *label = qobject_cast<const QLabel *>(widget);
    int flags = Qt::TextSingleLine;
    if (!label || label->buddy())
        flags |= Qt::TextShowMnemonic;
    QSize needed;
    if (label && label->wordWrap())
        needed =
            metrics.boundingRect(QRect(0, 0, area.width(), 1 << 20), Qt::TextWordWrap, text).size();
    else
        needed = metrics.size(flags, text);
    return {needed, area.size()};
}

// The same for the text a label or a button shows, in its own font.
inline TextFit textFit(const QWidget *widget)
{
    QString text;
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        text = label->text();
    else if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        text = button->text();
    return textFit(widget, text, widget->font());
}

} // namespace mitoon::testing
