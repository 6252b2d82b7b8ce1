#include "graph/graphseries.h"

#include "precise/acuityscales.h"

#include <QLocale>

#include <algorithm>
#include <limits>

namespace mitoon {

using recordseries::Eye;

namespace {

size_t slot(SeriesId series)
{
    return (series.kind == SeriesKind::Precise ? 2 : 0) + (series.eye == Eye::Migi ? 1 : 0);
}

QString count(qsizetype n)
{
    return QLocale(QLocale::Japanese).toString(n);
}

} // namespace

recordseries::Eye graphEye(precise::Eye eye)
{
    return eye == precise::Eye::Left ? Eye::Hidari : Eye::Migi;
}

qint64 momentOf(const QDateTime &finished)
{
    return finished.date().toJulianDay() * 86400 + finished.time().msecsSinceStartOfDay() / 1000;
}

GraphSeries::GraphSeries(recordseries::RecordSeries records, QList<precise::StoredRun> runs)
    : records_(std::move(records)), runs_(std::move(runs))
{
    std::vector<GraphPoint> &left = points_[slot({Eye::Hidari, SeriesKind::Classic})];
    std::vector<GraphPoint> &right = points_[slot({Eye::Migi, SeriesKind::Classic})];
    left.reserve(size_t(records_.records.size()));
    right.reserve(size_t(records_.records.size()));
    first_ = std::numeric_limits<qint64>::max();
    last_ = std::numeric_limits<qint64>::min();
    for (qsizetype i = 0; i < records_.records.size(); ++i) {
        const recordseries::AcuityRecord &record = records_.records[i];
        add(record.moment());
        if (record.hidari)
            left.push_back({record.moment(), *record.hidari, int(i)});
        if (record.migi)
            right.push_back({record.moment(), *record.migi, int(i)});
    }
    for (qsizetype i = 0; i < runs_.size(); ++i) {
        const precise::StoredRun &run = runs_[i];
        const qint64 moment = momentOf(run.finished);
        add(moment);
        points_[slot({graphEye(run.result.eye), SeriesKind::Precise})].push_back(
            {moment, run.result.decimal, int(i)});
    }
    if (!hasMoments())
        first_ = last_ = 0;
    // The files are oldest first, but a line typed out of order still takes its place in time.
    const auto byMoment = [](const GraphPoint &a, const GraphPoint &b) {
        return a.moment < b.moment;
    };
    for (std::vector<GraphPoint> &points : points_)
        std::stable_sort(points.begin(), points.end(), byMoment);
}

void GraphSeries::add(qint64 moment)
{
    first_ = std::min(first_, moment);
    last_ = std::max(last_, moment);
}

const std::vector<GraphPoint> &GraphSeries::points(SeriesId series) const
{
    return points_[slot(series)];
}

const GraphPoint &GraphSeries::point(PointRef ref) const
{
    return points({ref.eye, ref.kind})[size_t(ref.index)];
}

bool GraphSeries::hasPoints() const
{
    return std::any_of(points_.begin(), points_.end(),
                       [](const std::vector<GraphPoint> &points) { return !points.empty(); });
}

QString GraphSeries::text(PointRef ref) const
{
    if (ref.kind == SeriesKind::Precise)
        return precisePointText(run(ref));
    return recordseries::pointText(records_.records[point(ref).record], ref.eye);
}

DecimalInterval decimalInterval(const precise::PreciseResult &result)
{
    return {precise::decimalAcuity(result.highLogMar), precise::decimalAcuity(result.lowLogMar)};
}

QString precisePointText(const precise::StoredRun &run)
{
    const precise::PreciseResult &result = run.result;
    QString text =
        QStringLiteral("%1　精密測定 %2 %3（logMAR %4、95 % %5～%6）")
            .arg(run.finished.toString(u"yyyy-MM-dd HH:mm:ss"),
                 result.eye == precise::Eye::Left ? QStringLiteral("左目") : QStringLiteral("右目"),
                 precise::decimalResultText(result), precise::logMarResultText(result),
                 precise::logMarText(result.lowLogMar), precise::logMarText(result.highLogMar));
    if (run.uncalibrated)
        text += QStringLiteral("　画面未校正");
    return text;
}

QString preciseSummaryText(const precise::RunsRead &read)
{
    if (!read.result.ok())
        return QStringLiteral("精密測定の記録を読み込めませんでした（%1）。")
            .arg(read.result.reason());
    const QList<precise::StoredRun> &runs = read.runs.runs;
    QString text;
    if (!runs.isEmpty()) {
        const qsizetype left =
            std::count_if(runs.begin(), runs.end(), [](const precise::StoredRun &run) {
                return run.result.eye == precise::Eye::Left;
            });
        text = QStringLiteral("精密測定 %1 回（左目 %2 回、右目 %3 回）。")
                   .arg(count(runs.size()), count(left), count(runs.size() - left));
    }
    if (read.runs.skipped > 0)
        text += QStringLiteral("精密測定の記録で飛ばした行 %1 行。").arg(count(read.runs.skipped));
    return text;
}

} // namespace mitoon
