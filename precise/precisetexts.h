#pragma once

#include "precise/preciserecords.h"
#include "precise/screenrange.h"

#include <QString>
#include <QStringList>

// The texts of the window "精密測定", from the figures of the core.
namespace mitoon::precise::texts {

QString eyeName(Eye eye);

// Before the first ring: which eye, and to cover the other one.
QString coverText(Eye eye);
// The best the screen can show at the distance: a gap of one device pixel.
QString bestAcuityText(const ScreenRange &range, double distanceCm);
// How to answer.
QString answerHint();
// Said beside the pitch when it was not measured with a card.
QString uncalibratedText();

// The result, a line each: the eye, logMAR, decimal acuity, Snellen, the 95 % interval, the
// rings and the distance, the WHO category when the value falls in one, and "画面未校正".
QStringList resultLines(const StoredRun &run);
// Whether the run reached the files, or why not.
QString storedText(const fileio::Result &stored);
// "右目も測る" after the left eye, "左目も測る" after the right.
QString otherEyeButtonText(Eye measured);

} // namespace mitoon::precise::texts
