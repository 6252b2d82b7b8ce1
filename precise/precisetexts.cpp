#include "precise/precisetexts.h"

#include "platform/numbers.h"
#include "precise/acuityscales.h"

namespace mitoon::precise::texts {

QString eyeName(Eye eye)
{
    return eye == Eye::Left ? QStringLiteral("左目") : QStringLiteral("右目");
}

QString coverText(Eye eye)
{
    const Eye other = eye == Eye::Left ? Eye::Right : Eye::Left;
    return QStringLiteral("%1を測ります。%2を手のひらか眼帯で、押さえずに覆ってください。")
        .arg(eyeName(eye), eyeName(other));
}

QString bestAcuityText(const ScreenRange &range, double distanceCm)
{
    if (range.isEmpty())
        return QString();
    return QStringLiteral("この画面を %1 cm から見て測れる最も良い視力: 小数視力 %2"
                          "（logMAR %3、すき間 1 画素）")
        .arg(formatGeneral(distanceCm), decimalAcuityText(decimalAcuity(range.finestLogMar)),
             logMarText(range.finestLogMar));
}

QString answerHint()
{
    return QStringLiteral("輪のすき間の向きを、テンキーの 5 の周りのキー（8 上、6 右、2 下、4 左、"
                          "9・3・1・7 は斜め）か矢印キー、または輪のその部分をクリックして答えて"
                          "ください。見えないときは 5 かスペース。");
}

QString uncalibratedText()
{
    return QStringLiteral("このまま始めることもできますが、結果は「画面未校正」になり、ずれて"
                          "いるかもしれません。");
}

QStringList resultLines(const StoredRun &run)
{
    const PreciseResult &result = run.result;
    QStringList lines = {QStringLiteral("%1の結果").arg(eyeName(result.eye)),
                         QStringLiteral("logMAR %1").arg(logMarResultText(result)),
                         QStringLiteral("小数視力 %1").arg(decimalResultText(result)),
                         QStringLiteral("スネレン %1（%2）")
                             .arg(snellenText(result.logMar, 6), snellenText(result.logMar, 20)),
                         QStringLiteral("95 % の範囲: logMAR %1 ～ %2")
                             .arg(logMarText(result.lowLogMar), logMarText(result.highLogMar)),
                         QStringLiteral("%1 回の輪、距離 %2 cm")
                             .arg(result.trials)
                             .arg(formatGeneral(result.distanceCm))};
    if (const WhoCategory category = whoCategory(result.logMar); category != WhoCategory::None)
        lines << QStringLiteral("WHO の区分: %1（診断ではありません。眼科で診てもらってください）")
                     .arg(whoCategoryName(category));
    if (result.limit == RangeLimit::Finest)
        lines << QStringLiteral("この画面と距離で測れる一番小さな輪まで見えました。"
                                "もっと離れると、さらに先まで測れます。");
    else if (result.limit == RangeLimit::Coarsest)
        lines << QStringLiteral("この画面に収まる一番大きな輪も見えませんでした。"
                                "もっと近づくと測れます。");
    if (run.uncalibrated)
        lines << QStringLiteral("画面未校正: 画素の大きさをカードで測っていないため、ずれて"
                                "いるかもしれません。");
    return lines;
}

QString storedText(const fileio::Result &stored)
{
    if (stored.ok())
        return QStringLiteral("結果を 精密測定.csv に保存しました。");
    return stored.message() + QStringLiteral("\n結果は消えていません。フォルダーを確かめてから"
                                             "「保存し直す」を押してください。");
}

QString otherEyeButtonText(Eye measured)
{
    return measured == Eye::Left ? QStringLiteral("右目も測る") : QStringLiteral("左目も測る");
}

} // namespace mitoon::precise::texts
