#pragma once

#include <QString>

// One acuity in the scales a report or a clinic uses, all worked out from logMAR.
namespace mitoon::precise {

double decimalAcuity(double logMar);
// Two significant digits, trailing zero kept: 1.0, 0.50, 0.032, 13.
QString decimalAcuityText(double decimal);

// The denominator x of Snellen's `numerator`/x: numerator × 10^logMAR; 6/x in metres, 20/x in
// feet. The text shows x rounded to a whole number: "6/12", "20/40".
double snellenDenominator(double logMar, int numerator);
QString snellenText(double logMar, int numerator);

// The visual acuity score, 100 − 50·logMAR, and the ETDRS letter score, 85 − 50·logMAR (one
// letter is 0.02 logMAR). Neither is cut off at 0: the result says how far past it lies.
double visualAcuityScore(double logMar);
double etdrsLetters(double logMar);

// logMAR in hundredths, as it is shown; −0.004 is 0, never "−0".
int logMarHundredths(double logMar);
// Two decimals; below zero with an ASCII minus.
QString logMarText(double logMar);

// The WHO's categories of distance vision impairment by the better eye's acuity; here one
// eye's. A boundary belongs to the milder category: logMAR 0.30 (decimal 0.5) is none yet.
enum class WhoCategory { None, Mild, Moderate, Severe, Blindness };

// Compared as the logMAR text shows it, in hundredths, so that the category never disagrees
// with the figure beside it: 0.304 shows as 0.30 and is none, 0.305 shows as 0.31 and is mild.
WhoCategory whoCategory(double logMar);
QString whoCategoryName(WhoCategory category);

} // namespace mitoon::precise
