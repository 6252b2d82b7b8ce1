#pragma once

#include "platform/formlayout.h"
#include "platform/twips.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <algorithm>

namespace mitoon::testing {

namespace layoutcheck {

using formlayout::Border;
using formlayout::Kind;
using formlayout::Row;

// The class a row of that kind makes, by its meta-object name.
inline const char *className(Kind kind)
{
    switch (kind) {
    case Kind::label:
    case Kind::picture:
        return "QLabel";
    case Kind::wrappingLabel:
        return "mitoon::WrappingLabel";
    case Kind::changeReportingLabel:
        return "mitoon::ChangeReportingLabel";
    case Kind::textBox:
    case Kind::flatTextBox:
        return "QLineEdit";
    case Kind::flatTextArea:
    case Kind::textArea:
        return "QPlainTextEdit";
    case Kind::comboBox:
        return "QComboBox";
    case Kind::optionButton:
        return "mitoon::OptionButton";
    case Kind::button:
        return "QPushButton";
    case Kind::frame:
        return "QFrame";
    case Kind::custom:
        break;
    }
    return "QWidget";
}

// How the focus reaches a control of that kind: "Tab" for a tab stop, "click" for a control
// that only a click gives the focus, "none".
inline QString focusReach(const Row &row)
{
    switch (row.kind) {
    case Kind::textBox:
    case Kind::textArea:
    case Kind::comboBox:
    case Kind::optionButton:
    case Kind::button:
        return QStringLiteral("Tab");
    case Kind::flatTextBox:
    case Kind::flatTextArea:
        return QStringLiteral("click");
    case Kind::picture:
        return row.look.tabStop ? QStringLiteral("Tab") : QStringLiteral("none");
    default:
        return QStringLiteral("none");
    }
}

inline QString focusReach(const QWidget *control)
{
    if (control->focusPolicy() & Qt::TabFocus)
        return QStringLiteral("Tab");
    return control->focusPolicy() & Qt::ClickFocus ? QStringLiteral("click")
                                                   : QStringLiteral("none");
}

inline QString shownText(const QWidget *control)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(control))
        return line->text();
    if (const auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText();
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(control))
        return plain->toPlainText();
    return {};
}

inline QString borderName(Border border)
{
    switch (border) {
    case Border::none:
        return QStringLiteral("none");
    case Border::line:
        return QStringLiteral("a line");
    case Border::etched:
        return QStringLiteral("etched");
    case Border::sunken:
        return QStringLiteral("sunken");
    }
    return {};
}

inline QString borderName(const QFrame *frame)
{
    const int style = frame->frameStyle();
    if (frame->frameShape() == QFrame::NoFrame)
        return borderName(Border::none);
    if (style == (QFrame::Box | QFrame::Plain) && frame->lineWidth() == 1)
        return borderName(Border::line);
    if (style == (QFrame::Box | QFrame::Sunken) && frame->lineWidth() == 1)
        return borderName(Border::etched);
    if (style == (QFrame::Panel | QFrame::Sunken) && frame->lineWidth() == 2)
        return borderName(Border::sunken);
    return QStringLiteral("style %1 of width %2").arg(style).arg(frame->lineWidth());
}

inline QWidget *find(const QWidget *root, const formlayout::Name &name)
{
    for (QWidget *control : root->findChildren<QWidget *>(QLatin1String(name.name)))
        if (formlayout::index(control) == name.index)
            return control;
    return nullptr;
}

inline QString describe(const QPoint &p)
{
    return QStringLiteral("%1, %2").arg(p.x()).arg(p.y());
}

inline QString describe(const QRect &r)
{
    return QStringLiteral("%1, %2 × %3").arg(describe(r.topLeft())).arg(r.width()).arg(r.height());
}

inline QString names(const QList<QWidget *> &controls)
{
    QStringList list;
    for (const QWidget *control : controls) {
        const int index = formlayout::index(control);
        const QString name = control->objectName().isEmpty()
                                 ? QLatin1String(control->metaObject()->className())
                                 : control->objectName();
        list << (index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index));
    }
    return list.join(QStringLiteral(", "));
}

// Tab goes from each of `tabStops` to the next by tab index, and reaches nothing else under
// `root`. A control with a focus proxy, such as the line edit of a combo box, is no stop of its
// own. Empty when so, else what differs.
inline QString tabOrderMismatch(const QWidget *root, QList<std::pair<int, QWidget *>> tabStops)
{
    std::stable_sort(tabStops.begin(), tabStops.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<QWidget *> wanted;
    for (const auto &[tabIndex, control] : tabStops)
        wanted << control;
    const auto isTabStop = [root](const QWidget *widget) {
        return (widget == root || root->isAncestorOf(widget)) &&
               (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy();
    };
    QList<QWidget *> shown;
    if (!wanted.isEmpty()) {
        QWidget *next = wanted.first();
        do {
            if (isTabStop(next))
                shown << next;
            next = next->nextInFocusChain();
        } while (next && next != wanted.first());
    }
    if (shown == wanted)
        return {};
    return QStringLiteral("the tab order is %1, not %2").arg(names(shown), names(wanted));
}

} // namespace layoutcheck

// Where the controls under `root` differ from the layout `rows`, one line per difference; none
// when every control is as its row says: its class, place and size (twips in its container),
// text, font, state at load, looks, how the focus reaches it and the order of the tab stops.
// A row without a font family stands for the font of the control's window.
inline QStringList layoutMismatches(const QWidget *root, std::span<const formlayout::Row> rows)
{
    using namespace layoutcheck;
    QStringList differences;
    const auto differ = [&differences](const formlayout::Row &row, const QString &what,
                                       const QString &shown, const QString &wanted) {
        if (shown != wanted)
            differences << QStringLiteral("%1: %2 is %3, not %4")
                               .arg(formlayout::displayName(row.name), what, shown, wanted);
    };
    const auto text = [](bool on) { return on ? QStringLiteral("yes") : QStringLiteral("no"); };
    QList<std::pair<int, QWidget *>> tabStops;
    for (const formlayout::Row &row : rows) {
        QWidget *control = find(root, row.name);
        if (!control) {
            differences << formlayout::displayName(row.name) + QStringLiteral(": missing");
            continue;
        }
        if (row.kind != Kind::custom)
            differ(row, QStringLiteral("the class"),
                   control->inherits(className(row.kind)) ? className(row.kind)
                                                          : control->metaObject()->className(),
                   className(row.kind));
        const QRect place = row.place;
        const QRect wantedPlace = twips::rect(place.x(), place.y(), place.width(), place.height());
        // A custom control sizes itself; only its position is the layout's.
        if (row.kind == Kind::custom)
            differ(row, QStringLiteral("the position"), describe(control->pos()),
                   describe(wantedPlace.topLeft()));
        else
            differ(row, QStringLiteral("the place"), describe(control->geometry()),
                   describe(wantedPlace));
        if (row.kind == Kind::picture) {
            const auto *label = static_cast<const QLabel *>(control);
            differ(row, QStringLiteral("the text"), label->text(), QString());
            differ(row, QStringLiteral("the picture"),
                   text(label->pixmap().toImage().convertToFormat(QImage::Format_RGB32) ==
                        QImage(row.text).convertToFormat(QImage::Format_RGB32)),
                   text(true));
        } else if (row.kind != Kind::frame && row.kind != Kind::custom) {
            differ(row, QStringLiteral("the text"), shownText(control), row.text);
        }
        const QFont wanted =
            row.font.family.isEmpty()
                ? control->window()->font()
                : QFont(row.font.family, -1, row.font.bold ? QFont::Bold : QFont::Normal);
        const double points = row.font.family.isEmpty() ? wanted.pointSizeF() : row.font.points;
        differ(row, QStringLiteral("the font"),
               QStringLiteral("%1 %2%3")
                   .arg(control->font().family())
                   .arg(control->font().pointSizeF())
                   .arg(control->font().bold() ? QStringLiteral(" bold") : QString()),
               QStringLiteral("%1 %2%3")
                   .arg(wanted.family())
                   .arg(points)
                   .arg(wanted.bold() ? QStringLiteral(" bold") : QString()));
        const formlayout::Look &look = row.look;
        differ(row, QStringLiteral("enabled"), text(control->isEnabled()), text(!look.disabled));
        differ(row, QStringLiteral("hidden"), text(control->isHidden()), text(look.hidden));
        if (row.kind != Kind::custom)
            differ(row, QStringLiteral("the focus"), focusReach(control), focusReach(row));
        if (const auto *button = qobject_cast<const QPushButton *>(control))
            differ(row, QStringLiteral("the default button"), text(button->isDefault()),
                   text(look.defaultButton));
        if (look.alignment) {
            const auto *label = qobject_cast<const QLabel *>(control);
            differ(row, QStringLiteral("the alignment"),
                   QString::number(label ? int(label->alignment()) : 0),
                   QString::number(int(look.alignment)));
        }
        if (look.background.isValid())
            differ(row, QStringLiteral("the background"),
                   control->autoFillBackground()
                       ? control->palette().color(control->backgroundRole()).name()
                       : QStringLiteral("the container's"),
                   look.background.name());
        if (look.textColor.isValid())
            differ(row, QStringLiteral("the text colour"),
                   control->palette().color(QPalette::WindowText).name(), look.textColor.name());
        if (const auto *frame = qobject_cast<const QFrame *>(control);
            frame && row.kind != Kind::custom && row.kind != Kind::flatTextArea &&
            row.kind != Kind::textArea)
            differ(row, QStringLiteral("the border"), borderName(frame), borderName(look.border));
        if (row.tabIndex >= 0 && focusReach(row) == QStringLiteral("Tab"))
            tabStops.append({row.tabIndex, control});
    }
    if (const QString tabOrder = tabOrderMismatch(root, tabStops); !tabOrder.isEmpty())
        differences << tabOrder;
    return differences;
}

} // namespace mitoon::testing
