#pragma once

#include "screencheck/pixelpitch.h"
#include "screencheck/ringrows.h"

#include <QStringList>
#include <optional>
#include <vector>

// The texts of the screen check "画面の確認", from the figures of the core.
namespace mitoon::gamentexts {

// A number with a fixed count of decimals in the user's locale.
QString number(double value, int decimals);

// The ring table: its column headers and the cells of one row.
const QStringList &columnHeaders();
QStringList cellTexts(const screencheck::RingRow &row);

// The pitch in effect, where it comes from, and why the screen's report is doubtful (empty
// when it is not, or when the user's own measurement is in effect).
QString pitchText(std::optional<double> pitchMm);
QString sourceText(const pixelpitch::InEffect &effect, const pixelpitch::ScreenReport &report,
                   double devicePixelRatio);
QString doubtText(const pixelpitch::InEffect &effect, const pixelpitch::ScreenReport &report);

// Beside the slider: the outline's width and the pitch it stands for.
QString cardWidthText(int cardWidthPx);

// Above the table: the setting, and the pitch of a card being matched but not stored.
QString headingText(double inches, double centimetres, std::optional<double> unsavedPitchMm);

// Below the table: the best acuity the screen can show at the distance and the first row
// under one pixel; the display size for a first gap of 10 minutes.
QString limitText(const std::vector<screencheck::RingRow> &rows, double pitchMm,
                  double centimetres);
QString adviceText(std::optional<double> inches);

} // namespace mitoon::gamentexts
