#pragma once

#include "platform/statusbar.h"
#include "platform/wrappinglabel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QToolButton>
#include <algorithm>

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

// A line edit keeps this many pixels between its text margins and its text on either side.
inline constexpr int kLineEditMargin = 2;

// The rectangle a control draws its text in: a label's contents less its margin and indent, a
// push button's contents as its style lays them out, the part of an option button or check box
// right of its indicator, the line inside a line edit's frame and text margins, a plain text
// box's page inside its document margin, a tool button inside its frame, the first panel of
// the status bar inside its frame and padding. Icons are not taken into account.
inline QRect textArea(const QWidget *widget)
{
    if (const auto *bar = qobject_cast<const StatusBar *>(widget))
        return bar->textRect(0);
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget)) {
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.rect = edit->contentsRect();
        option.lineWidth =
            edit->hasFrame()
                ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                : 0;
        option.state |= QStyle::State_Sunken;
        const QRect contents =
            edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
        return contents.marginsRemoved(edit->textMargins())
            .adjusted(kLineEditMargin, 0, -kLineEditMargin, 0);
    }
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(widget)) {
        const int margin = qRound(plain->document()->documentMargin());
        return plain->viewport()->contentsRect().adjusted(margin, margin, -margin, -margin);
    }
    if (const auto *tool = qobject_cast<const QToolButton *>(widget)) {
        const int frame = tool->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, tool);
        return tool->contentsRect().adjusted(frame, frame, -frame, -frame);
    }
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
// in a label that wraps its words, or in the notice's own line breaks. A mnemonic's '&' takes no
// room where the control shows it as an underline (buttons, labels with a buddy). A line edit
// needs a pixel more for the cursor after its text, or it scrolls the text sideways.
inline TextFit textFit(const QWidget *widget, const QString &text, const QFont &font)
{
    const QRect area = textArea(widget);
    const QFontMetrics metrics(font, widget);
    if (qobject_cast<const WrappingLabel *>(widget)) {
        const QStringList lines = WrappingLabel::wrap(text, font, area.width());
        int widest = 0;
        for (const QString &line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        return {QSize(widest, int(lines.size()) * metrics.lineSpacing()), area.size()};
    }
    if (qobject_cast<const QLineEdit *>(widget))
        return {QSize(metrics.horizontalAdvance(text) + 1, metrics.height()), area.size()};
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

// The text a control shows now: a label's, a button's, a line edit's or a plain text box's.
inline QString shownText(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        return edit->text();
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(widget))
        return plain->toPlainText();
    return {};
}

// The same for the text a control shows, in its own font.
inline TextFit textFit(const QWidget *widget)
{
    return textFit(widget, shownText(widget), widget->font());
}

} // namespace mitoon::testing
