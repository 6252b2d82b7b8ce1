#pragma once

#include <QColor>
#include <QHash>
#include <QObject>
#include <QRect>
#include <QString>
#include <functional>
#include <span>

class QLabel;
class QWidget;

// The controls of a fixed-layout window, written as a table: one row per control with its
// name, kind, text, place in twips, font and tab index. The window makes its controls from the
// table in one call, so its whole layout reads in one place.
namespace mitoon::formlayout {

// What a row makes: the widget class and the looks that go with it.
enum class Kind {
    label,                // QLabel
    wrappingLabel,        // WrappingLabel: Japanese text wrapped at the label's width
    changeReportingLabel, // ChangeReportingLabel: reports each change of its text
    picture,              // QLabel showing the picture the text names, unscaled from its top-left
    textBox,              // QLineEdit with a sunken frame
    flatTextBox,          // QLineEdit with a thin single-line frame and no margins; not a tab stop
    flatTextArea,         // multi-line QPlainTextEdit, flat like flatTextBox, without scroll bars
    textArea,             // multi-line QPlainTextEdit with a vertical scroll bar; Tab moves on
    comboBox,             // editable QComboBox showing the text; typing adds no item to the list
    optionButton,         // OptionButton
    button,               // QPushButton; Enter presses it while it has the focus
    frame,                // QFrame: a container, or a line drawn in its background colour
    custom, // made and sized by the window from its row; the layout names and moves it
};

// A border drawn around a picture or a frame.
enum class Border {
    none,
    line,   // a plain one-pixel line
    etched, // a sunken box: a dark line with a light one inside
    sunken, // a two-pixel sunken panel
};

// The name of a control and, for an element of a control array, its index.
struct Name
{
    Name(const char *name, int index = -1) : name(name), index(index) {}
    const char *name;
    int index;
};

// A layout family (fonts::kPGothic, fonts::kGothic), point size and weight. A row without
// a family takes its window's font.
struct Font
{
    QString family;
    double points = 0;
    bool bold = false;
};

// What a row sets besides its common columns; most rows need none of it.
struct Look
{
    bool disabled = false;        // at load
    bool hidden = false;          // at load
    bool tabStop = false;         // a picture that the Tab key stops at
    bool defaultButton = false;   // the button that Enter presses
    Qt::Alignment alignment = {}; // none: the widget's own
    QColor background;            // invalid: the container's
    QColor textColor;             // invalid: the palette's
    Border border = Border::none;
};

// Where a row's control goes in its window: the member the window reaches it by, and its id in
// the window's own list of controls (the test's Control), -1 for none.
struct Binding
{
    int id = -1;
    // Points the member at the control; false when the control is not of the member's class.
    std::function<bool(QWidget *control)> assign;
};

// The binding of a row to `member`, with the id `id` (an enumerator, or -1).
template <class T, class Id = int> Binding to(T *&member, Id id = Id(-1))
{
    return {int(id), [&member](QWidget *control) {
                member = qobject_cast<T *>(control);
                return member != nullptr;
            }};
}

// One control. `place` is left, top, width and height in twips within the container; the Tab
// key takes the controls that accept it in the order of their tab indexes (-1: none). The
// table is the one place a control of a fixed layout is named: its row binds it.
struct Row
{
    Name name;
    Kind kind;
    QString text;
    QRect place;
    Font font;
    int tabIndex = -1;
    Look look;
    Binding bind;
};

// The fonts of a window: fixed for the program's own texts (fonts::fixedFont), plain where
// the window may show text from outside (fonts::font).
enum class Fonts { fixed, plain };

// Makes the widget of a custom row in the container.
using MakeCustom = std::function<QWidget *(const Row &row, QWidget *container)>;

// The controls one table made.
class Controls
{
public:
    // The control of that name and index; a name the table lacks is a programming error.
    QWidget *at(const char *name, int index = -1) const;
    // The control whose row has the binding id `id`, or null.
    QWidget *withId(int id) const { return byId_.value(id); }

private:
    friend Controls create(std::span<const Row>, QWidget *, Fonts, const MakeCustom &);

    QHash<QString, QWidget *> controls_;
    QHash<int, QWidget *> byId_;
};

// Makes the controls of `rows` in `container`, in the order of the rows (a later control lies
// over an earlier one), binds each to its member, and chains the tab stops in the order of
// their tab indexes.
Controls create(std::span<const Row> rows, QWidget *container, Fonts fonts,
                const MakeCustom &makeCustom = {});

// The name a control goes by in messages: "tugi", "Label1(0)".
QString displayName(const Name &name);

// The control-array index a layout gave `control`; -1 when it is no element of an array.
int index(const QWidget *control);

// Places `widget` at a twips position relative to its parent's client area.
void place(QWidget *widget, int left, int top, int width, int height);

// Gives a top-level window a fixed client area of `width` × `height` twips.
void setClientSize(QWidget *window, int width, int height);

// Sizes a label to its text, keeping its right edge where its text is right-aligned and its
// left edge otherwise, and its top.
void fitToText(QLabel *label);

} // namespace mitoon::formlayout
