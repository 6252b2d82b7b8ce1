#include "platform/formlayout.h"

#include "platform/changereportinglabel.h"
#include "platform/fonts.h"
#include "platform/optionbutton.h"
#include "platform/pictures.h"
#include "platform/systemcolor.h"
#include "platform/twips.h"
#include "platform/wrappinglabel.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

namespace mitoon::formlayout {

namespace {

const char *const kIndexProperty = "controlIndex";

// A line edit keeps this many pixels between its frame and its text on either side, on top of
// its text margins.
constexpr int kLineEditInnerMargin = 2;

// Flat text boxes: a thin single-line frame, no three-dimensional edge and no margins inside it,
// so the values the layout was made for show whole. They are no tab stops.
void makeFlat(QWidget *box)
{
    box->setStyleSheet(QStringLiteral("border: 1px solid black; background: white; padding: 0;"));
    box->setFocusPolicy(Qt::ClickFocus);
}

QWidget *make(const Row &row, QWidget *container, const MakeCustom &makeCustom)
{
    switch (row.kind) {
    case Kind::label:
        return new QLabel(row.text, container);
    case Kind::wrappingLabel:
        return new WrappingLabel(row.text, container);
    case Kind::changeReportingLabel:
        return new ChangeReportingLabel(row.text, container);
    case Kind::picture: {
        auto *picture = new QLabel(container);
        picture->setPixmap(pictures::pixmap(row.text));
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return picture;
    }
    case Kind::textBox:
        return new QLineEdit(row.text, container);
    case Kind::flatTextBox: {
        auto *box = new QLineEdit(container);
        makeFlat(box);
        box->setTextMargins(-kLineEditInnerMargin, 0, -kLineEditInnerMargin, 0);
        if (!row.text.isEmpty())
            box->setText(row.text);
        return box;
    }
    case Kind::flatTextArea: {
        auto *box = new QPlainTextEdit(container);
        makeFlat(box);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->document()->setDocumentMargin(0);
        if (!row.text.isEmpty())
            box->setPlainText(row.text);
        return box;
    }
    case Kind::textArea: {
        auto *box = new QPlainTextEdit(container);
        if (!row.text.isEmpty())
            box->setPlainText(row.text);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setTabChangesFocus(true);
        return box;
    }
    case Kind::comboBox: {
        auto *box = new QComboBox(container);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setEditText(row.text);
        // Beside the arrow every number of the list shows whole, as in the flat boxes.
        box->lineEdit()->setTextMargins(-kLineEditInnerMargin, 0, -kLineEditInnerMargin, 0);
        return box;
    }
    case Kind::optionButton:
        return new OptionButton(row.text, container);
    case Kind::button: {
        auto *button = new QPushButton(row.text, container);
        button->setAutoDefault(true);
        return button;
    }
    case Kind::frame:
        return new QFrame(container);
    case Kind::custom:
        return makeCustom ? makeCustom(row, container) : nullptr;
    }
    return nullptr;
}

void setFrame(QWidget *widget, Border border)
{
    auto *frame = qobject_cast<QFrame *>(widget);
    if (!frame || border == Border::none)
        return;
    switch (border) {
    case Border::line:
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        break;
    case Border::etched:
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        break;
    case Border::sunken:
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame->setLineWidth(2);
        break;
    case Border::none:
        break;
    }
}

void apply(QWidget *widget, const Row &row, Fonts fonts)
{
    widget->setObjectName(QLatin1String(row.name.name));
    if (row.name.index >= 0)
        widget->setProperty(kIndexProperty, row.name.index);
    if (!row.font.family.isEmpty())
        widget->setFont(fonts == Fonts::fixed
                            ? fonts::fixedFont(row.font.family, row.font.points, row.font.bold)
                            : fonts::font(row.font.family, row.font.points, row.font.bold));
    const Look &look = row.look;
    if (look.disabled)
        widget->setEnabled(false);
    if (look.tabStop)
        widget->setFocusPolicy(Qt::TabFocus);
    if (look.defaultButton)
        if (auto *button = qobject_cast<QPushButton *>(widget))
            button->setDefault(true);
    if (look.alignment)
        if (auto *label = qobject_cast<QLabel *>(widget))
            label->setAlignment(look.alignment);
    if (look.background.isValid())
        setBackground(widget, look.background);
    if (look.textColor.isValid()) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, look.textColor);
        widget->setPalette(palette);
    }
    setFrame(widget, look.border);
    const QRect place =
        twips::rect(row.place.x(), row.place.y(), row.place.width(), row.place.height());
    if (row.kind == Kind::custom)
        widget->move(place.topLeft());
    else
        widget->setGeometry(place);
    if (look.hidden)
        widget->hide();
}

QString key(const char *name, int index)
{
    return displayName({name, index});
}

} // namespace

QWidget *Controls::at(const char *name, int index) const
{
    QWidget *control = controls_.value(key(name, index));
    if (!control)
        qFatal("The layout has no control %s", qPrintable(key(name, index)));
    return control;
}

Controls create(std::span<const Row> rows, QWidget *container, Fonts fonts,
                const MakeCustom &makeCustom)
{
    Controls made;
    QList<std::pair<int, QWidget *>> tabStops;
    for (const Row &row : rows) {
        QWidget *widget = make(row, container, makeCustom);
        if (!widget)
            qFatal("No widget for the layout's control %s", qPrintable(displayName(row.name)));
        apply(widget, row, fonts);
        made.controls_.insert(key(row.name.name, row.name.index), widget);
        if (row.bind.assign && !row.bind.assign(widget))
            qFatal("The layout's control %s is of another class",
                   qPrintable(displayName(row.name)));
        if (row.bind.id >= 0)
            made.byId_.insert(row.bind.id, widget);
        if (row.tabIndex >= 0 && (widget->focusPolicy() & Qt::TabFocus))
            tabStops.append({row.tabIndex, widget});
    }
    std::stable_sort(tabStops.begin(), tabStops.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (qsizetype i = 0; i + 1 < tabStops.size(); ++i)
        QWidget::setTabOrder(tabStops[i].second, tabStops[i + 1].second);
    return made;
}

QString displayName(const Name &name)
{
    const QString plain = QLatin1String(name.name);
    return name.index < 0 ? plain : QStringLiteral("%1(%2)").arg(plain).arg(name.index);
}

int index(const QWidget *control)
{
    const QVariant value = control->property(kIndexProperty);
    return value.isValid() ? value.toInt() : -1;
}

void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twips::rect(left, top, width, height));
}

void setClientSize(QWidget *window, int width, int height)
{
    window->setFixedSize(twips::toPixelsRounded(width), twips::toPixelsRounded(height));
}

void fitToText(QLabel *label)
{
    if (!(label->alignment() & Qt::AlignRight)) {
        label->adjustSize();
        return;
    }
    const QRect placed = label->geometry();
    const QSize fitted = label->sizeHint();
    label->setGeometry(placed.right() + 1 - fitted.width(), placed.y(), fitted.width(),
                       fitted.height());
}

} // namespace mitoon::formlayout
