#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// The visual angle of a ring's gap and the acuity it stands for: a gap of 1 minute of arc is
// decimal acuity 1.0 and logMAR 0.0.
namespace mitoon::visualangle {

// The angle that `sizeMm`, seen face on and centred, makes at `distanceMm`, and back. Nothing
// for sizes or distances that are not positive finite numbers.
std::optional<double> visualAngleArcMin(double sizeMm, double distanceMm);
std::optional<double> sizeForVisualAngleMm(double angleArcMin, double distanceMm);

// A gap of 1 minute of arc is decimal acuity 1.0 and logMAR 0.0.
std::optional<double> decimalAcuity(double gapArcMin);
std::optional<double> logMar(double gapArcMin);

// logMAR with `decimals` decimals in `locale` ("0.10", "-0.08"), never "-0.00": a value that
// rounds to zero shows as zero.
QString logMarText(double logMar, int decimals, const QLocale &locale = QLocale::c());

} // namespace mitoon::visualangle
