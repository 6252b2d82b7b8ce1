#pragma once

#include "graph/graphpainter.h"

#include <QPixmap>
#include <QWidget>

#include <optional>

namespace mitoon {

// The records graph on the screen. The graph itself is drawn once per size into a picture
// that later paints only copy, so that moving the mouse over 100,000 records stays quick.
// The point under the mouse, or else the one last clicked (or reached with the arrow keys),
// gets a ring, and its text goes out with pointShown.
class AcuityGraph : public QWidget
{
    Q_OBJECT
public:
    explicit AcuityGraph(QWidget *parent = nullptr);

    void setSeries(recordseries::RecordSeries series, QList<precise::StoredRun> runs,
                   const QString &emptyMessage);
    void setSeries(recordseries::RecordSeries series, const QString &emptyMessage)
    {
        setSeries(std::move(series), {}, emptyMessage);
    }
    const GraphPainter &graph() const { return graph_; }
    // Where the plot is in this widget now.
    GraphPainter::Geometry plotGeometry() const;

    std::optional<PointRef> hovered() const { return hovered_; }
    std::optional<PointRef> chosen() const { return chosen_; }
    void choose(std::optional<PointRef> point);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The text of the point with the ring ("2026-12-09 12:17:01　左目 1.1（logMAR -0.04）",
    // GraphSeries::text), or an empty text when no point has one.
    void pointShown(const QString &text);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::optional<PointRef> pointUnder(QPointF position) const;
    void setHovered(std::optional<PointRef> point);
    void announce();
    QString textOf(std::optional<PointRef> point) const;

    GraphPainter graph_;
    QPixmap picture_; // the graph without ring; null when it must be drawn again
    std::optional<PointRef> hovered_;
    std::optional<PointRef> chosen_;
};

} // namespace mitoon
