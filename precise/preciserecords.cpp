#include "precise/preciserecords.h"

#include "acuity/visualangle.h"
#include "fileio/outsidefile.h"
#include "fileio/safefile.h"
#include "platform/drivepath.h"
#include "platform/numbers.h"
#include "precise/acuityscales.h"

#include <QStringList>

#include <cerrno>
#include <cmath>

namespace mitoon::precise {

namespace {

constexpr qsizetype kRunFields = 14;

const QString kLeftEye = QStringLiteral("左目");
const QString kRightEye = QStringLiteral("右目");
const QString kCannotSeeAnswer = QStringLiteral("見えない");
const QString kUncalibrated = QStringLiteral("画面未校正");

QByteArray withByteOrderMark(const QString &header)
{
    return QByteArrayLiteral("\xEF\xBB\xBF") + header.toUtf8() + "\r\n";
}

// Numbers as spreadsheets read them whatever the user's locale.
QString plain(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString rangeField(RangeLimit limit)
{
    switch (limit) {
    case RangeLimit::None:
        return QString();
    case RangeLimit::Finest:
        return QStringLiteral("≥");
    case RangeLimit::Coarsest:
        return QStringLiteral("≤");
    }
    return QString();
}

std::optional<double> number(QStringView field)
{
    return parseLocaleNumber(field.toString(), QLocale::c());
}

// The text of the file, split into lines at LF with the CR before it taken off.
QList<QStringView> lines(QStringView text)
{
    QList<QStringView> result;
    for (QStringView line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        result.append(line);
    }
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

fileio::Result told(const fileio::Result &result, const QString &windowsPath,
                    const QString &localPath, const QString &what)
{
    return fileio::told(result, QStringLiteral("精密測定の記録"), windowsPath, localPath, what);
}

} // namespace

QByteArray runsHeader()
{
    return withByteOrderMark(QStringLiteral("日付,時刻,目,logMAR,小数視力,下限logMAR,上限logMAR,"
                                            "試行数,距離cm,画素mm,画素の出所,範囲,校正,版"));
}

QByteArray trialsHeader()
{
    return withByteOrderMark(
        QStringLiteral("測定日時,試行,すき間logMAR,すき間画素,向き,答え,正誤,反応時間ms"));
}

QByteArray runLine(const StoredRun &run)
{
    const PreciseResult &result = run.result;
    const QStringList fields = {run.finished.toString(u"yyyy-MM-dd"),
                                run.finished.toString(u"HH:mm:ss"),
                                result.eye == Eye::Left ? kLeftEye : kRightEye,
                                logMarText(result.logMar),
                                decimalAcuityText(result.decimal),
                                logMarText(result.lowLogMar),
                                logMarText(result.highLogMar),
                                QString::number(result.trials),
                                formatGeneral(result.distanceCm, 6, QLocale::c()),
                                plain(result.pitchMm, 4),
                                run.pitchSource,
                                rangeField(result.limit),
                                run.uncalibrated ? kUncalibrated : QString(),
                                run.version};
    return fields.join(u',').toUtf8() + "\r\n";
}

QByteArray trialLines(const QDateTime &finished, const std::vector<TrialRecord> &trials)
{
    const QString moment = finished.toString(u"yyyy-MM-dd HH:mm:ss");
    QString text;
    for (const TrialRecord &trial : trials) {
        const QStringList fields = {moment,
                                    QString::number(trial.number),
                                    visualangle::logMarText(trial.gapLogMar, 3),
                                    plain(trial.gapDevicePx, 2),
                                    QString::number(trial.orientation),
                                    trial.answer == kCannotSee ? kCannotSeeAnswer
                                                               : QString::number(trial.answer),
                                    trial.correct ? QStringLiteral("正") : QStringLiteral("誤"),
                                    QString::number(std::lround(trial.reactionMs))};
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

fileio::Result storeRun(const StoredRun &run, const std::vector<TrialRecord> &trials,
                        StoreState &state, const QString &runsPath, const QString &trialsPath)
{
    const QString what = QStringLiteral("に保存できませんでした");
    if (!state.trialsStored) {
        const QString path = trialsPath.isEmpty() ? drive::localPath(kTrialsFile) : trialsPath;
        const fileio::Result stored =
            told(fileio::appendLine(path, trialLines(run.finished, trials), {trialsHeader()}),
                 kTrialsFile, path, what);
        if (!stored.ok())
            return stored;
        state.trialsStored = true;
    }
    if (!state.runStored) {
        const QString path = runsPath.isEmpty() ? drive::localPath(kRunsFile) : runsPath;
        const fileio::Result stored =
            told(fileio::appendLine(path, runLine(run), {runsHeader()}), kRunsFile, path, what);
        if (!stored.ok())
            return stored;
        state.runStored = true;
    }
    return {};
}

std::optional<StoredRun> parseRunLine(QStringView line)
{
    const QList<QStringView> fields = line.split(u',');
    if (fields.size() != kRunFields)
        return std::nullopt;
    StoredRun run;
    const QDate date = QDate::fromString(fields[0].toString(), u"yyyy-MM-dd");
    const QTime time = QTime::fromString(fields[1].toString(), u"HH:mm:ss");
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    run.finished = QDateTime(date, time);
    PreciseResult &result = run.result;
    if (fields[2] == kLeftEye)
        result.eye = Eye::Left;
    else if (fields[2] == kRightEye)
        result.eye = Eye::Right;
    else
        return std::nullopt;
    const std::optional<double> logMar = number(fields[3]);
    const std::optional<double> decimal = number(fields[4]);
    const std::optional<double> low = number(fields[5]);
    const std::optional<double> high = number(fields[6]);
    const std::optional<double> distance = number(fields[8]);
    const std::optional<double> pitch = number(fields[9]);
    bool trialsOk = false;
    result.trials = fields[7].toInt(&trialsOk);
    if (!logMar || !decimal || !low || !high || !distance || !pitch || !trialsOk ||
        result.trials <= 0 || !(*low <= *logMar && *logMar <= *high) ||
        !isPositiveFinite(*decimal) || !isPositiveFinite(*distance) || !isPositiveFinite(*pitch))
        return std::nullopt;
    result.logMar = *logMar;
    result.decimal = *decimal;
    result.lowLogMar = *low;
    result.highLogMar = *high;
    result.distanceCm = *distance;
    result.pitchMm = *pitch;
    run.pitchSource = fields[10].toString();
    if (fields[11].isEmpty())
        result.limit = RangeLimit::None;
    else if (fields[11] == u"≥")
        result.limit = RangeLimit::Finest;
    else if (fields[11] == u"≤")
        result.limit = RangeLimit::Coarsest;
    else
        return std::nullopt;
    if (!fields[12].isEmpty() && fields[12] != kUncalibrated)
        return std::nullopt;
    run.uncalibrated = !fields[12].isEmpty();
    run.version = fields[13].toString();
    return run;
}

StoredRuns parseRuns(QStringView text)
{
    if (text.startsWith(QChar(0xfeff)))
        text = text.mid(1);
    StoredRuns stored;
    for (const QStringView line : lines(text)) {
        if (std::optional<StoredRun> run = parseRunLine(line))
            stored.runs.append(*run);
        else
            ++stored.skipped;
    }
    // The header is no run, but no line that went wrong either.
    if (stored.skipped > 0 && text.startsWith(QStringLiteral("日付,")))
        --stored.skipped;
    return stored;
}

RunsRead readRuns(const QString &localPath)
{
    const outsidefile::Contents contents = outsidefile::read(localPath, kRunsFileLimit);
    if (!contents.result.ok()) {
        if (contents.result.error() == ENOENT)
            return {};
        return {
            told(contents.result, kRunsFile, localPath, QStringLiteral("を読み込めませんでした")),
            {}};
    }
    return {{}, parseRuns(QString::fromUtf8(contents.bytes))};
}

} // namespace mitoon::precise
