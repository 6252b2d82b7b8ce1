#include "precise/preciseresult.h"

#include "precise/acuityscales.h"

namespace mitoon::precise {

namespace {

QString withLimit(const QString &figure, RangeLimit limit, bool largerIsBetter)
{
    if (limit == RangeLimit::None)
        return figure;
    const bool better = limit == RangeLimit::Finest;
    return (better == largerIsBetter ? QStringLiteral("≥ ") : QStringLiteral("≤ ")) + figure;
}

} // namespace

QString decimalResultText(const PreciseResult &result)
{
    return withLimit(decimalAcuityText(result.decimal), result.limit, true);
}

QString logMarResultText(const PreciseResult &result)
{
    return withLimit(logMarText(result.logMar), result.limit, false);
}

} // namespace mitoon::precise
