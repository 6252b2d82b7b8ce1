#pragma once

#include "precise/psychometricmodel.h"

// What the procedure assumes of an eye before it has seen an answer, and how it reads the
// answers. The defaults are the ones the benchmark (bench/precise.cpp) was tuned with.
namespace mitoon::precise {

struct ProcedureSettings
{
    // Broad: two standard deviations reach from logMAR −0.7 to 1.3 (decimal 5 to 0.05), so the
    // estimate of an eye far from the mean is hardly pulled towards it. Cut to the screen's
    // range, its mean moves up a little on a screen that reaches further up than down.
    double priorMeanLogMar = 0.3;
    double priorSdLogMar = 0.5;

    // The model the posterior is computed with. A lapse of 0.03, the most an attentive eye is
    // allowed: one lapse at a large ring then drags the estimate up less, and in bench-precise
    // the worst 0.1 logMAR bin's bias fell from 0.024 (lapse 0.02) to 0.020. The scale lies
    // between the benchmark's steep (0.05) and shallow (0.10) eyes; from 0.06 to 0.08 the limits
    // of agreement moved by less than the benchmark's own noise of about 2 %.
    PsychometricModel model{1.0 / 8.0, 0.03, 0.075};

    // 0.01 logMAR is half an ETDRS letter, well below what 48 trials can tell apart.
    double maxGridStepLogMar = 0.01;

    // A posterior mean this near either end of the screen's range is reported as that end. An
    // eye beyond the end piles its probability against it: after 18 trials its mean lies within
    // 0.02 of the end. An eye right at the end has its mean a median 0.03 inside. 0.05, half a
    // chart line, flags the first always and the second four times in five, while an eye a
    // whole line inside is flagged about one time in fifteen (400 simulated runs of each).
    double limitMarginLogMar = 0.05;
};

} // namespace mitoon::precise
