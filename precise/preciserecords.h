#pragma once

#include "fileio/result.h"
#include "precise/preciseresult.h"
#include "precise/precisetrial.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// The files of "精密測定", beside the record file in the drive folder: every finished run as one
// line of 精密測定.csv, and each of its trials as one line of 精密測定-試行.csv. Both are CSV
// files for spreadsheets: UTF-8 with a byte-order mark, CR LF after every line, a header line
// written when the file is made, '.' as the decimal mark, no field that needs quotation marks.
// They are written the one safe way (fileio::appendLine); the record file mitoon.txt is not
// touched.
namespace mitoon::precise {

inline const QString kRunsFile = QStringLiteral("C:\\Tool\\devwork\\精密測定.csv");
inline const QString kTrialsFile = QStringLiteral("C:\\Tool\\devwork\\精密測定-試行.csv");

// One finished run as it is stored.
struct StoredRun
{
    QDateTime finished;
    PreciseResult result;
    // Where the pixel pitch came from, as the screen check says it ("カード", "画面の報告").
    QString pitchSource;
    // The pitch was not measured with a card and the screen's own report looked doubtful.
    bool uncalibrated = false;
    QString version;
};

// "日付,時刻,目,logMAR,小数視力,下限logMAR,上限logMAR,試行数,距離cm,画素mm,画素の出所,範囲,校正,版"
// after the byte-order mark, and the same for the trials.
QByteArray runsHeader();
QByteArray trialsHeader();

// `2026-12-10,21:03:05,右目,0.12,0.76,0.04,0.20,18,300,0.2745,カード,,,1.0.15`: the range
// field is "≥" or "≤" for a result at a screen limit (for the decimal acuity), the calibration
// field "画面未校正" for a pitch that was not measured.
QByteArray runLine(const StoredRun &run);
// `2026-12-10 21:03:05,7,0.152,3.14,4,4,正,1234` a line: the run's moment, the trial's number,
// the gap shown in logMAR and in device pixels, the orientation, the answer (1 to 8, or
// "見えない"), "正" or "誤", the reaction time in whole milliseconds.
QByteArray trialLines(const QDateTime &finished, const std::vector<TrialRecord> &trials);

// Which of the two files a run has reached.
struct StoreState
{
    bool trialsStored = false;
    bool runStored = false;
    bool complete() const { return trialsStored && runStored; }
};

// Appends the run to the files at `runsPath` and `trialsPath` (the drive folder's when empty):
// its trials first, then the run line, each file only if `state` says it does not hold its
// part yet, so that a save tried again after a failure writes nothing twice. The failure's
// message names the file and the system's reason.
fileio::Result storeRun(const StoredRun &run, const std::vector<TrialRecord> &trials,
                        StoreState &state, const QString &runsPath = QString(),
                        const QString &trialsPath = QString());

// The runs of a file, oldest first as stored; lines that are no run (the header, blank or
// damaged lines) are skipped and counted.
struct StoredRuns
{
    QList<StoredRun> runs;
    int skipped = 0;
};
std::optional<StoredRun> parseRunLine(QStringView line);
StoredRuns parseRuns(QStringView text);

// The runs file read for the graph: without waiting for whatever stands at its path and at
// most kRunsFileLimit bytes. A missing file is no runs and no failure.
inline constexpr qint64 kRunsFileLimit = 64 * 1024 * 1024;
struct RunsRead
{
    fileio::Result result;
    StoredRuns runs;
};
RunsRead readRuns(const QString &localPath);

} // namespace mitoon::precise
