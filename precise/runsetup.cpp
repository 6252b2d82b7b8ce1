#include "precise/runsetup.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

namespace mitoon::precise {

namespace {

ScreenRange screenRangeOf(const RunSetup &setup)
{
    return screenRange(setup.distanceCm, setup.pitchMm.value_or(0.0), setup.screenWidthPx,
                       setup.screenHeightPx);
}

} // namespace

ScreenRange measuredRange(const RunSetup &setup)
{
    ScreenRange range = screenRangeOf(setup);
    if (range.isEmpty())
        return {};
    range.finestLogMar = std::max(range.finestLogMar, kFinestMeasuredLogMar);
    range.coarsestLogMar = std::min(range.coarsestLogMar, kCoarsestMeasuredLogMar);
    return range.isEmpty() ? ScreenRange{} : range;
}

QString setupProblem(const RunSetup &setup)
{
    if (!setup.pitchMm)
        return QStringLiteral("画素の大きさが分からないため、輪の本当の大きさを決められません。"
                              "カードを画面に当てて画素の大きさを測ってから始めてください。");
    if (!isPositiveFinite(*setup.pitchMm))
        return QStringLiteral("画素の大きさ（%1 mm）が正しくないため、輪の本当の大きさを決められ"
                              "ません。カードを画面に当てて測り直してください。")
            .arg(*setup.pitchMm);
    if (!isPositiveFinite(setup.distanceCm))
        return QStringLiteral("画面までの距離が正しくないため、輪の大きさを決められません。"
                              "距離を 0 より大きい数で入れてください。");
    if (!isPositiveFinite(setup.devicePixelRatio))
        return QStringLiteral("画面の拡大率が正しくないため、輪を描く大きさを決められません。");
    if (!isPositiveFinite(setup.screenWidthPx) || !isPositiveFinite(setup.screenHeightPx))
        return QStringLiteral("画面の大きさ（画素数）が分からないため、画面に収まる輪の大きさを"
                              "決められません。");
    if (std::find(kTrialCounts.begin(), kTrialCounts.end(), setup.trialCount) == kTrialCounts.end())
        return QStringLiteral("試行の回数は 18、24、30、48 のどれかにしてください。");
    if (!measuredRange(setup).isEmpty())
        return QString();
    const ScreenRange screen = screenRangeOf(setup);
    if (screen.finestLogMar > kCoarsestMeasuredLogMar)
        return QStringLiteral("画面が近すぎて、1 画素の切れ目でも測れる大きさ（視力 0.01）を"
                              "超えます。もっと離れてください。");
    if (screen.coarsestLogMar < kFinestMeasuredLogMar)
        return QStringLiteral("画面が遠すぎて、画面に収まる一番大きな輪でも小さすぎます。"
                              "もっと近づいてください。");
    return QStringLiteral("画面が小さすぎて、1 画素の切れ目の輪も収まりません。");
}

} // namespace mitoon::precise
