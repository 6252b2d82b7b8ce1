#pragma once

#include <QColor>

class QWidget;

namespace mitoon {

// System colours by their Windows index, in the standard colour scheme.
enum class SystemColor { CaptionText = 9, HighlightText = 14, ThreeDLight = 22 };
QColor systemColor(SystemColor color);

// Paints `widget`'s own background in `color`.
void setBackground(QWidget *widget, const QColor &color);

} // namespace mitoon
