#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>

class QWidget;

// Small helpers that every fixed-layout window of the program shares.
namespace mitoon::formkit {

inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");

// Places `widget` at a twips position relative to its parent's client area.
void place(QWidget *widget, int left, int top, int width, int height);

// Gives a top-level window a client area of `width` × `height` twips that it keeps when the
// window is not sizable.
void setClientSize(QWidget *window, int width, int height, bool sizable);

// A font of the layouts: family by the name the layouts use, point size and weight.
QFont font(const QString &family, double points, bool bold = false);

// The same for texts of the program's own, all of whose characters the font has: Qt then needs
// no fallback fonts for it, which saves a fontconfig search per font at start-up. Boxes that
// show text from outside keep font().
QFont fixedFont(const QString &family, double points, bool bold = false);

// The program icon: the ring with its gap up.
QIcon programIcon();

// System colours by their Windows index, in the standard colour scheme.
enum class SystemColor { Window = 5, CaptionText = 9, HighlightText = 14, ThreeDLight = 22 };
QColor systemColor(SystemColor color);

// Paints `widget`'s own background in `color`.
void setBackground(QWidget *widget, const QColor &color);

// The names of the layouts resolve to IPA fonts, metric-compatible with the fonts they name.
void registerFontSubstitutions();

} // namespace mitoon::formkit
