#include "graph/graphscale.h"

#include "acuity/visualangle.h"

#include <algorithm>
#include <cmath>

namespace mitoon::graphscale {

namespace {

constexpr qint64 kDay = 86400;

struct Step
{
    Unit unit;
    int count;
};

constexpr Step kSteps[] = {
    {Unit::Day, 1},     {Unit::Day, 2},     {Unit::Day, 7},     {Unit::Month, 1},
    {Unit::Month, 2},   {Unit::Month, 3},   {Unit::Month, 6},   {Unit::Year, 1},
    {Unit::Year, 2},    {Unit::Year, 5},    {Unit::Year, 10},   {Unit::Year, 20},
    {Unit::Year, 50},   {Unit::Year, 100},  {Unit::Year, 200},  {Unit::Year, 500},
    {Unit::Year, 1000}, {Unit::Year, 2000}, {Unit::Year, 5000},
};

// The first date of the step on or after `date`.
QDate firstTick(const QDate &date, const Step &step)
{
    switch (step.unit) {
    case Unit::Day:
        if (step.count == 7)
            return date.addDays((8 - date.dayOfWeek()) % 7); // Monday
        return date.addDays((step.count - date.toJulianDay() % step.count) % step.count);
    case Unit::Month: {
        QDate month(date.year(), date.month(), 1);
        if (month < date)
            month = month.addMonths(1);
        while ((month.month() - 1) % step.count != 0)
            month = month.addMonths(1);
        return month;
    }
    case Unit::Year: {
        int year = date.year();
        if (QDate(year, 1, 1) < date)
            ++year;
        year += (step.count - year % step.count) % step.count;
        return QDate(year, 1, 1);
    }
    }
    return date;
}

QDate nextTick(const QDate &date, const Step &step)
{
    switch (step.unit) {
    case Unit::Day:
        return date.addDays(step.count);
    case Unit::Month:
        return date.addMonths(step.count);
    case Unit::Year:
        return date.addYears(step.count);
    }
    return date;
}

QString label(const QDate &date, Unit unit)
{
    switch (unit) {
    case Unit::Day:
        return date.toString(u"yyyy-MM-dd");
    case Unit::Month:
        return date.toString(u"yyyy-MM");
    case Unit::Year:
        return date.toString(u"yyyy");
    }
    return QString();
}

QDate dateOf(qint64 moment)
{
    return QDate::fromJulianDay(moment >= 0 ? moment / kDay : (moment - kDay + 1) / kDay);
}

} // namespace

double acuityFraction(double acuity)
{
    return std::log(acuity / kLowest) / std::log(kHighest / kLowest);
}

QString logMarLabel(double acuity)
{
    return visualangle::logMarText(-std::log10(acuity), 1);
}

qint64 startOfDay(const QDate &date)
{
    return date.toJulianDay() * kDay;
}

Span timeSpan(qint64 first, qint64 last)
{
    if (last - first < 2 * kDay)
        return {startOfDay(dateOf(first)), startOfDay(dateOf(last)) + kDay};
    const qint64 room = (last - first) * 3 / 100;
    return {first - room, last + room};
}

QList<Tick> dateTicks(const Span &span, double axisLength, const std::array<double, 3> &labelWidth)
{
    const QDate fromDate = dateOf(span.from);
    for (const Step &step : kSteps) {
        const double width = labelWidth[size_t(step.unit)];
        const qsizetype room = width > 0 ? qsizetype(axisLength / width) : 0;
        QList<Tick> ticks;
        bool fits = true;
        for (QDate date = firstTick(fromDate, step); date.isValid(); date = nextTick(date, step)) {
            const qint64 moment = startOfDay(date);
            if (moment < span.from)
                continue;
            if (moment > span.to)
                break;
            if (ticks.size() == room) {
                fits = false;
                break;
            }
            ticks.append({moment, date, label(date, step.unit)});
        }
        if (fits)
            return ticks;
    }
    return {};
}

} // namespace mitoon::graphscale
