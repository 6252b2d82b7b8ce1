#include "screencheck/gamentexts.h"

#include "acuity/calibration.h"
#include "acuity/visualangle.h"
#include "platform/numbers.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace mitoon::gamentexts {

QString number(double value, int decimals)
{
    return QLocale().toString(value, 'f', decimals);
}

const QStringList &columnHeaders()
{
    static const QStringList headers = {
        QStringLiteral("正解の数"),       QStringLiteral("外径 (画素)"),
        QStringLiteral("外径 (mm)"),      QStringLiteral("すき間 (画素)"),
        QStringLiteral("すき間 (mm)"),    QStringLiteral("視角 (分)"),
        QStringLiteral("小数視力"),       QStringLiteral("logMAR"),
        QStringLiteral("表示される視力"), QStringLiteral("備考")};
    return headers;
}

QStringList cellTexts(const screencheck::RingRow &row)
{
    return {QString::number(row.rightAnswers),
            number(row.outerWidthPx, 1) + QStringLiteral(" × ") + number(row.outerHeightPx, 1),
            number(row.outerWidthMm, 1) + QStringLiteral(" × ") + number(row.outerHeightMm, 1),
            number(row.gapPx, 2),
            number(row.gapMm, 2),
            number(row.gapArcMin, 2),
            number(row.decimalAcuity, 2),
            visualangle::logMarText(row.logMar, 2, QLocale()),
            row.shownAcuity,
            row.belowPixel ? QStringLiteral("画素の限界") : QString()};
}

QString pitchText(std::optional<double> pitchMm)
{
    if (!pitchMm)
        return QStringLiteral("画素の大きさ: 分かりません");
    return QStringLiteral("画素の大きさ: %1 mm（1 インチに %2 画素）")
        .arg(number(*pitchMm, 4), number(25.4 / *pitchMm, 1));
}

QString sourceText(const pixelpitch::InEffect &effect, const pixelpitch::ScreenReport &report,
                   double devicePixelRatio)
{
    QString text;
    switch (effect.source) {
    case pixelpitch::Source::Measured:
        text = QStringLiteral("カードで測って保存した値です。");
        break;
    case pixelpitch::Source::Screen:
        text = QStringLiteral("画面が報告する大きさ %1 × %2 mm（%3 × %4 画素）から計算した値です。")
                   .arg(number(report.widthMm, 0), number(report.heightMm, 0))
                   .arg(std::lround(report.widthPx))
                   .arg(std::lround(report.heightPx));
        break;
    case pixelpitch::Source::None:
        text = QStringLiteral("画面の報告からは分かりません。");
        break;
    }
    if (devicePixelRatio != 1.0)
        text += QStringLiteral("画面の拡大率 %1 倍を計算に入れています。")
                    .arg(formatGeneral(devicePixelRatio, 4));
    return text;
}

QString doubtText(const pixelpitch::InEffect &effect, const pixelpitch::ScreenReport &report)
{
    if (effect.source == pixelpitch::Source::Measured)
        return {};
    QString text;
    if (effect.storedIgnored)
        text = QStringLiteral("保存されていた値は画素の大きさとして使えない値でした。");
    switch (effect.screenDoubt) {
    case pixelpitch::Doubt::None:
        break;
    case pixelpitch::Doubt::NoSize:
        text += QStringLiteral("画面は自分の大きさを報告していません（0 mm）。");
        break;
    case pixelpitch::Doubt::OutOfRange:
        text += QStringLiteral("画面が報告する大きさ（%1 × %2 mm）は、画面としてありえない値です。")
                    .arg(number(report.widthMm, 0), number(report.heightMm, 0));
        break;
    case pixelpitch::Doubt::Looks96Dpi:
        text += QStringLiteral("この大きさは作り物のようです。画面の本当の大きさではなく、"
                               "1 インチに 96 画素として計算した大きさです。");
        break;
    case pixelpitch::Doubt::NotSquare:
        text += QStringLiteral("この大きさは疑わしい値です。縦と横で画素の大きさが 1 割以上"
                               "違います。");
        break;
    }
    if (!text.isEmpty())
        text += QStringLiteral("カードで測ってください。");
    return text;
}

QString cardWidthText(int cardWidthPx)
{
    return QStringLiteral("枠の幅 %1 画素（1 画素 %2 mm）")
        .arg(cardWidthPx)
        .arg(number(pixelpitch::fromCardWidthPx(cardWidthPx), 4));
}

QString headingText(double inches, double centimetres, std::optional<double> unsavedPitchMm)
{
    QString text = QStringLiteral("ディスプレイサイズ %1 インチ、距離 %2 cm で、最初の輪と、"
                                  "正解するごとに 0.8 倍に縮む輪")
                       .arg(formatGeneral(inches), formatGeneral(centimetres));
    if (unsavedPitchMm)
        text += QStringLiteral("（合わせている枠の画素 %1 mm で計算。まだ保存していません）")
                    .arg(number(*unsavedPitchMm, 4));
    return text;
}

QString limitText(const std::vector<screencheck::RingRow> &rows, double pitchMm, double centimetres)
{
    const std::optional<screencheck::PixelLimit> limit =
        screencheck::pixelLimit(pitchMm, centimetres);
    if (rows.empty() || !limit)
        return QStringLiteral("画素の大きさが分からないため、輪の本当の大きさは計算できません。");
    QString text = QStringLiteral("この画面で %1 cm 離れて示せる最も良い視力は、すき間が 1 画素"
                                  "のときの小数視力 %2（logMAR %3）です。")
                       .arg(formatGeneral(centimetres), number(limit->decimalAcuity, 2),
                            visualangle::logMarText(limit->logMar, 2, QLocale()));
    const auto firstBelow =
        std::find_if(rows.begin(), rows.end(), [](const auto &row) { return row.belowPixel; });
    if (firstBelow == rows.end())
        return text + QStringLiteral("%1 回正解するまで、すき間は 1 画素より太いままです。")
                          .arg(rows.back().rightAnswers);
    if (firstBelow->rightAnswers == 0)
        return text + QStringLiteral("最初の輪からすき間が 1 画素より細く、目ではなく画面の"
                                     "細かさを測ることになります（画素の限界）。");
    return text + QStringLiteral("%1 回正解した後の輪からすき間が 1 画素より細くなり、目では"
                                 "なく画面の細かさを測ることになります（画素の限界）。")
                      .arg(firstBelow->rightAnswers);
}

QString adviceText(std::optional<double> inches)
{
    if (!inches)
        return {};
    QString text = QStringLiteral("最初の輪のすき間を 10 分（小数視力 0.1）にするには、"
                                  "ディスプレイサイズを %1 インチにします。一覧で最も近いのは "
                                  "%2 インチです。")
                       .arg(number(*inches, 1))
                       .arg(screencheck::nearestListedInches(*inches));
    if (*inches < kDisplaySizes.front() || *inches > kDisplaySizes.back())
        text +=
            QStringLiteral("%1 インチは一覧（12～32 インチ）の外です。").arg(number(*inches, 1));
    return text;
}

} // namespace mitoon::gamentexts
