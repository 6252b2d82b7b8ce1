#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <array>

// The two axes of the records graph, as numbers: where a decimal acuity sits on the logarithmic
// acuity axis, and where the dates of the time axis get their labels.
namespace mitoon::graphscale {

inline constexpr double kLowest = 0.1;
inline constexpr double kHighest = 2.0;
// The grid lines, labelled with the decimal acuity on one side and logMAR on the other.
inline constexpr std::array<double, 5> kGrid = {0.1, 0.2, 0.5, 1.0, 2.0};
// Short marks on the acuity axis between the grid lines.
inline constexpr std::array<double, 8> kMinorTicks = {0.3, 0.4, 0.6, 0.7, 0.8, 0.9, 1.2, 1.5};

// 0 at 0.1, 1 at 2.0, on a logarithmic scale; values outside the axis fall outside [0, 1].
double acuityFraction(double acuity);

// The axis label of a grid value in logMAR, one decimal: "1.0", "0.7", "0.3", "0.0", "-0.3".
QString logMarLabel(double acuity);

// The span of moments (seconds, AcuityRecord::moment()) the time axis shows for records from
// `first` to `last`: a little room on both sides so that no point sits on an axis, and at least
// a day for a single day.
struct Span
{
    qint64 from = 0;
    qint64 to = 0;
    double fraction(qint64 moment) const { return double(moment - from) / double(to - from); }
};
Span timeSpan(qint64 first, qint64 last);

// Labels of the time axis: whole days, weeks (from Monday), months or years, the smallest
// step whose labels fit.
enum class Unit { Day, Month, Year };

struct Tick
{
    qint64 moment = 0; // midnight at the start of `date`
    QDate date;
    QString label; // "2026-12-09", "2026-12" or "2026"
};

// `labelWidth` is the room one label of each unit needs, in the units of `axisLength`.
QList<Tick> dateTicks(const Span &span, double axisLength, const std::array<double, 3> &labelWidth);

// The moment of midnight at the start of `date` on the scale of AcuityRecord::moment().
qint64 startOfDay(const QDate &date);

} // namespace mitoon::graphscale
