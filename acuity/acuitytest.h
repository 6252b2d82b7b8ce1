#pragma once

#include "acuity/acuityform.h"
#include "acuity/trialrandom.h"
#include "acuity/variant.h"

#include <cstdint>

namespace mitoon {

// The acuity test of the main window: its variables and the handlers that drive it. The
// window forwards its events here; everything shown goes back through AcuityForm.
class AcuityTest
{
public:
    static constexpr std::int16_t kStartScore = 10;
    static constexpr std::int16_t kScoreLimit = 32760;

    explicit AcuityTest(AcuityForm &form, TrialRandom random = TrialRandom());

    // The test's part of loading the window: starting score, mistakes, base size.
    void formLoad();
    // A list item picked in the display-size box (`inti`) or the distance box (`cm`).
    void calibrate(Control picked);
    // The start button gained the focus.
    void startGotFocus();
    // `tugi` gained the focus: the next ring.
    void tugiGotFocus();
    // A direction button was clicked, or the ring was pressed for "見えない".
    void answer(Control button);
    // `kekka` gained the focus: the result of a running test.
    void kekkaGotFocus();
    // The eye option buttons: 1 the left eye, 2 the right eye.
    void selectEye(int eye);

    bool running() const { return running_; }

    const Variant &gamensize() const { return gamensize_; }
    const Variant &kyori() const { return kyori_; }
    const Variant &houkou() const { return houkou_; }
    const Variant &tensuu() const { return tensuu_; }
    std::int16_t saigotensuu() const { return saigotensuu_; }
    const Variant &matigai() const { return matigai_; }
    const Variant &sokuteime() const { return sokuteime_; }
    const Variant &hidarikekka() const { return hidarikekka_; }
    const Variant &migikekka() const { return migikekka_; }

    // The acuity for a score at the last correct answer: score / 100 + 0.1, as text.
    static QString acuityText(std::int16_t saigotensuu);

    // The text the test start leaves in a box: `fallback` when the text is no number or lies
    // outside `low` to `high`; the limits themselves stay.
    static QString keptInRange(const QString &text, double low, double high,
                               const QString &fallback);

private:
    // Sizes the ring for a display and a distance; false, changing nothing, when either
    // extent cannot be had.
    bool sizeRing(const Variant &inches, const Variant &centimetres);
    // Grows the window as far as the ring needs and its screen allows; false when even the
    // whole screen cannot show the ring.
    bool makeRoomFor(const RingTwips &ring);
    void sayDoesNotFit(const Variant &inches, const Variant &centimetres);
    void takeBackDoesNotFit();
    QString eyeStatusText() const;

    AcuityForm &form_;
    TrialRandom random_;
    bool running_ = false;
    bool doesNotFitShown_ = false;

    Variant gamensize_;
    Variant kyori_;
    Variant houkou_;
    Variant tensuu_ = Variant::integer(kStartScore);
    std::int16_t saigotensuu_ = 0;
    Variant matigai_ = Variant::integer(0);
    Variant sokuteime_;
    Variant hidarikekka_;
    Variant migikekka_;
    Variant kijuntakasa_;
    Variant kijunhaba_;
};

} // namespace mitoon
