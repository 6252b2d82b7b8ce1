#pragma once

#include "graph/recordseries.h"
#include "precise/preciserecords.h"

#include <QList>
#include <QString>

#include <array>
#include <vector>

// What the records graph shows, as data: the points of the record file (the classic test, one
// series per eye) and of the runs file of 精密測定 (one series per eye, each point with its 95 %
// interval), in time order, and the text that tells one point.
namespace mitoon {

// Which test a series comes from.
enum class SeriesKind { Classic, Precise };

// One point of the graph: the value of one eye in one record or one run.
struct GraphPoint
{
    qint64 moment = 0;
    double acuity = 0; // decimal
    int record = 0;    // index into the records, or for 精密測定 into the runs
};

// A point by its series and its place among that series' points (in time order).
struct PointRef
{
    recordseries::Eye eye = recordseries::Eye::Hidari;
    int index = 0;
    SeriesKind kind = SeriesKind::Classic;
    bool operator==(const PointRef &) const = default;
};

// One series of the graph.
struct SeriesId
{
    recordseries::Eye eye = recordseries::Eye::Hidari;
    SeriesKind kind = SeriesKind::Classic;
    bool operator==(const SeriesId &) const = default;
};

// The four series in the order the arrow keys visit them.
inline constexpr std::array<SeriesId, 4> kAllSeries = {
    SeriesId{recordseries::Eye::Hidari, SeriesKind::Classic},
    SeriesId{recordseries::Eye::Migi, SeriesKind::Classic},
    SeriesId{recordseries::Eye::Hidari, SeriesKind::Precise},
    SeriesId{recordseries::Eye::Migi, SeriesKind::Precise}};

recordseries::Eye graphEye(precise::Eye eye);

// Moments on the scale of AcuityRecord::moment(), which both files share: the local date and
// time as written, without a time zone.
qint64 momentOf(const QDateTime &finished);

class GraphSeries
{
public:
    GraphSeries() = default;
    explicit GraphSeries(recordseries::RecordSeries records, QList<precise::StoredRun> runs = {});

    const recordseries::RecordSeries &records() const { return records_; }
    const QList<precise::StoredRun> &runs() const { return runs_; }

    const std::vector<GraphPoint> &points(SeriesId series) const;
    const GraphPoint &point(PointRef ref) const;
    // The run behind a point of 精密測定.
    const precise::StoredRun &run(PointRef ref) const { return runs_[point(ref).record]; }

    bool hasPoints() const;
    bool hasPrecisePoints() const { return !runs_.isEmpty(); }
    // Whether there is anything to span the time axis: a record (even without a value) or a run.
    bool hasMoments() const { return !records_.records.isEmpty() || !runs_.isEmpty(); }
    // The earliest and latest moment of any record or run.
    qint64 first() const { return first_; }
    qint64 last() const { return last_; }

    // What the window says about a point: pointText for the classic test, precisePointText for
    // 精密測定.
    QString text(PointRef ref) const;

private:
    void add(qint64 moment);

    recordseries::RecordSeries records_;
    QList<precise::StoredRun> runs_;
    std::array<std::vector<GraphPoint>, 4> points_; // in the order of kAllSeries
    qint64 first_ = 0;
    qint64 last_ = 0;
};

// The decimal acuities at the ends of a run's 95 % interval: `worst` from highLogMar, `best`
// from lowLogMar.
struct DecimalInterval
{
    double worst = 0;
    double best = 0;
};
DecimalInterval decimalInterval(const precise::PreciseResult &result);

// "2026-12-10 21:03:05　精密測定 右目 0.76（logMAR 0.12、95 % 0.04～0.20）", with "≥ " or "≤ "
// before both figures at a range limit and "　画面未校正" after a run whose screen was not
// calibrated.
QString precisePointText(const precise::StoredRun &run);

// What the summary line adds for the runs file: "精密測定 4 回（左目 2 回、右目 2 回）。", then
// "精密測定の記録で飛ばした行 1 行。" for damaged lines, or for a file that cannot be read
// "精密測定の記録を読み込めませんでした（reason）。". Empty when the file holds no run and no
// damaged line, as when there is none.
QString preciseSummaryText(const precise::RunsRead &read);

} // namespace mitoon
