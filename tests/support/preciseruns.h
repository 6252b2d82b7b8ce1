#pragma once

#include "precise/acuityscales.h"
#include "precise/preciserecords.h"

#include <QDateTime>

// A finished run of 精密測定 as the tests store it: measured at 300 cm on a 0.2745 mm pitch that
// a card gave, 18 trials, by version 1.0.15; the test says when, which eye and the figures.
namespace mitoon::testing {

inline precise::StoredRun storedRun(const QDateTime &finished, precise::Eye eye, double logMar,
                                    double lowLogMar, double highLogMar,
                                    precise::RangeLimit limit = precise::RangeLimit::None,
                                    bool uncalibrated = false)
{
    precise::StoredRun run;
    run.finished = finished;
    run.result.eye = eye;
    run.result.logMar = logMar;
    run.result.decimal = precise::decimalAcuity(logMar);
    run.result.lowLogMar = lowLogMar;
    run.result.highLogMar = highLogMar;
    run.result.trials = 18;
    run.result.distanceCm = 300;
    run.result.pitchMm = 0.2745;
    run.result.limit = limit;
    run.pitchSource = QStringLiteral("カード");
    run.uncalibrated = uncalibrated;
    run.version = QStringLiteral("1.0.15");
    return run;
}

} // namespace mitoon::testing
