#pragma once

#include <QColor>

class QWidget;

namespace mitoon {

// System colours by their Windows index, in the standard colour scheme.
enum class SystemColor { CaptionText = 9, HighlightText = 14, ThreeDLight = 22 };
QColor systemColor(SystemColor color);

// The dark red of warnings in the program's own windows (the screen check, 精密測定).
inline const QColor kWarningText(176, 0, 0);

// Paints `widget`'s own background in `color`.
void setBackground(QWidget *widget, const QColor &color);

} // namespace mitoon
