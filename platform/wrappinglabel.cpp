#include "platform/wrappinglabel.h"

#include <QFontMetricsF>
#include <QPainter>

namespace mitoon {

WrappingLabel::WrappingLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QStringList WrappingLabel::wrap(const QString &text, const QFont &font, double width)
{
    const QFontMetricsF metrics(font);
    QStringList lines;
    QString line;
    double used = 0;
    for (const QChar c : text) {
        if (c == u'\n') {
            lines << line;
            line.clear();
            used = 0;
            continue;
        }
        const double advance = metrics.horizontalAdvance(c);
        // Closing punctuation never starts a line; it stays at the end of the last one.
        static const QString kNoLineStart = QStringLiteral("、。，．」』）！？");
        if (!line.isEmpty() && used + advance > width && !kNoLineStart.contains(c)) {
            lines << line;
            line.clear();
            used = 0;
        }
        line += c;
        used += advance;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

void WrappingLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const QRectF area = contentsRect();
    const double lineHeight = QFontMetricsF(font()).lineSpacing();
    double y = area.top();
    for (const QString &line : wrap(text(), font(), area.width())) {
        painter.drawText(QRectF(area.left(), y, area.width(), lineHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
        y += lineHeight;
        if (y > area.bottom())
            break;
    }
}

} // namespace mitoon
