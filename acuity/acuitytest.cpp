#include "acuity/acuitytest.h"

#include "acuity/calibration.h"

#include <algorithm>

namespace mitoon {

const AnswerButton &buttonAccepting(int orientation)
{
    return *std::find_if(kAnswerButtons.begin(), kAnswerButtons.end(),
                         [orientation](const AnswerButton &b) { return b.accepts == orientation; });
}

const AnswerButton &answerButton(Control control)
{
    if (control == kCannotSee.control)
        return kCannotSee;
    return *std::find_if(kAnswerButtons.begin(), kAnswerButtons.end(),
                         [control](const AnswerButton &b) { return b.control == control; });
}

AcuityTest::AcuityTest(AcuityForm &form, TrialRandom random)
    : form_(form), random_(std::move(random))
{
}

void AcuityTest::formLoad()
{
    tensuu_ = Variant::integer(kStartScore);
    matigai_ = Variant::integer(0);
    kijuntakasa_ = Variant::number(kBaseHeight);
    kijunhaba_ = Variant::number(kBaseWidth);
}

bool AcuityTest::sizeRing(const Variant &inches, const Variant &centimetres)
{
    const auto height = ringExtent(*kijuntakasa_.toNumber(), inches, centimetres);
    const auto width = ringExtent(*kijunhaba_.toNumber(), inches, centimetres);
    if (!height || !width)
        return false;
    form_.setRingHeight(*height);
    form_.setRingWidth(*width);
    return true;
}

namespace {

QString referenceText(Control box)
{
    return formatGeneral(box == Control::inti ? kReferenceInches : kReferenceCentimetres);
}

} // namespace

void AcuityTest::calibrate(Control picked)
{
    // Both boxes are read whichever was picked, so a text typed into the other box is taken
    // over as well. When that text gives no ring the pick still goes through: the other box
    // returns to its reference text.
    const Control other = picked == Control::inti ? Control::cm : Control::inti;
    auto boxValue = [this](Control box) { return Variant::text(form_.text(box)); };
    if (!ringTwips(boxValue(Control::inti), boxValue(Control::cm))) {
        const Variant reference = Variant::text(referenceText(other));
        const Variant inches = other == Control::inti ? reference : boxValue(Control::inti);
        const Variant centimetres = other == Control::cm ? reference : boxValue(Control::cm);
        if (!ringTwips(inches, centimetres))
            return; // the picked text itself gives no ring
        form_.setText(other, referenceText(other));
    }
    const Variant inches = boxValue(Control::inti);
    const Variant centimetres = boxValue(Control::cm);
    if (!sizeRing(inches, centimetres))
        return;
    gamensize_ = inches;
    kyori_ = centimetres;
    if (makeRoomFor(*ringTwips(inches, centimetres)))
        takeBackDoesNotFit();
    else
        sayDoesNotFit(inches, centimetres);
}

QString AcuityTest::keptInRange(const QString &text, double low, double high,
                                const QString &fallback)
{
    const auto value = parseLocaleNumber(text);
    if (!value || *value > high || *value < low)
        return fallback;
    return text;
}

bool AcuityTest::makeRoomFor(const RingTwips &ring)
{
    const RingFit fit = fitRing(ring, form_.ringRoom());
    if (fit.grow)
        form_.growRingRoom(fit.width, fit.height);
    return fit.fits;
}

void AcuityTest::sayDoesNotFit(const Variant &inches, const Variant &centimetres)
{
    const FittingSetting fitting =
        fittingSetting(*inches.toNumber(), *centimetres.toNumber(), form_.ringRoom());
    form_.setStatusText(doesNotFitMessage(fitting));
    doesNotFitShown_ = true;
}

void AcuityTest::takeBackDoesNotFit()
{
    if (!doesNotFitShown_)
        return;
    doesNotFitShown_ = false;
    form_.setStatusText(eyeStatusText());
}

QString AcuityTest::eyeStatusText() const
{
    if (sokuteime_.equals(1))
        return QStringLiteral("左目測定中");
    if (sokuteime_.equals(2))
        return QStringLiteral("右目測定中");
    return {};
}

void AcuityTest::startGotFocus()
{
    // The boxes are kept in range, and the ring is sized from their texts as they then stand,
    // so the ring on view always matches what the boxes say.
    const QString inches = keptInRange(form_.text(Control::inti), kDisplaySizes.front(),
                                       kDisplaySizes.back(), referenceText(Control::inti));
    const QString centimetres = keptInRange(form_.text(Control::cm), kDistances.front(),
                                            kDistances.back(), referenceText(Control::cm));
    // A gap the user cannot see must not be judged: when even the whole screen cannot show the
    // ring, no test starts and nothing changes but the message.
    const auto ring = ringTwips(Variant::text(inches), Variant::text(centimetres));
    if (!ring || !fitRing(*ring, form_.ringRoom()).fits) {
        sayDoesNotFit(Variant::text(inches), Variant::text(centimetres));
        return;
    }

    if (form_.text(Control::cm) != centimetres)
        form_.setText(Control::cm, centimetres);
    if (form_.text(Control::inti) != inches)
        form_.setText(Control::inti, inches);
    gamensize_ = Variant::text(inches);
    kyori_ = Variant::text(centimetres);
    sizeRing(gamensize_, kyori_);
    makeRoomFor(*ring);

    // Every result belongs to an eye: without a choice the test measures the left eye.
    if (!sokuteime_.equals(1) && !sokuteime_.equals(2)) {
        form_.setChecked(Control::hidarime, true);
        selectEye(1);
    }
    takeBackDoesNotFit();

    matigai_ = Variant::integer(0);
    form_.setText(Control::matigaihyouji, matigai_.toText());

    form_.setEnabled(Control::start, false);
    form_.setEnabled(Control::inti, false);
    form_.setEnabled(Control::cm, false);
    for (const AnswerButton &button : kAnswerButtons)
        form_.setEnabled(button.control, true);
    running_ = true;

    form_.setText(Control::kekka, QString());
    form_.setText(Control::kekkadesu, QString());
    form_.setText(Control::siryokuhyouji, QString());
    form_.setText(Control::matigaikoumoku, QStringLiteral("間違い"));
    form_.setFocus(Control::tugi);
}

void AcuityTest::tugiGotFocus()
{
    const int orientation = random_.drawOrientation();
    houkou_ = Variant::single(float(orientation));
    form_.setRingPicture(orientation);
}

void AcuityTest::answer(Control control)
{
    const AnswerButton &button = answerButton(control);
    form_.setFocus(Control::tugi);

    if (houkou_.equals(button.accepts)) {
        matigai_ = Variant::integer(0);
        saigotensuu_ = tensuu_.integerValue();
        // Past 16 bits the score stays at its ceiling and the test goes on.
        tensuu_ =
            Variant::integer(std::int16_t(std::min(tensuu_.integerValue() + 10, int(kScoreLimit))));
    } else {
        matigai_ = Variant::integer(std::int16_t(matigai_.integerValue() + 1));
    }
    if (matigai_.equals(2))
        form_.setFocus(Control::kekka);
    form_.setText(Control::matigaihyouji, matigai_.toText());

    // Every answer shrinks the ring, right or wrong; the factor goes with the button.
    form_.setRingHeight(float(double(form_.ringHeight()) * button.shrink));
    form_.setRingWidth(float(double(form_.ringWidth()) * button.shrink));
    form_.setFocus(Control::tugi);
}

QString AcuityTest::acuityText(std::int16_t saigotensuu)
{
    return formatGeneral(double(saigotensuu) / 100.0 + 0.1);
}

void AcuityTest::kekkaGotFocus()
{
    // Only a running test ends here. A click into the box after a finished test would
    // otherwise overwrite that eye's measured result with 0.1.
    if (!running_)
        return;

    form_.beep();
    if (sokuteime_.equals(1))
        form_.setText(Control::kekka, QStringLiteral("あなたの左目の視力は"));
    else if (sokuteime_.equals(2))
        form_.setText(Control::kekka, QStringLiteral("あなたの右目の視力は"));
    form_.setText(Control::siryokuhyouji, acuityText(saigotensuu_));
    if (sokuteime_.equals(1))
        hidarikekka_ = Variant::text(form_.text(Control::siryokuhyouji));
    else if (sokuteime_.equals(2))
        migikekka_ = Variant::text(form_.text(Control::siryokuhyouji));
    matigai_ = Variant::integer(0);
    form_.setText(Control::kekkadesu, QStringLiteral("です"));
    if (hidarikekka_.compare(0) > 0 && migikekka_.compare(0) > 0)
        form_.setVisible(Control::kekkakiroku, true);
    form_.setText(Control::start, QStringLiteral("スタート"));
    for (const AnswerButton &button : kAnswerButtons)
        form_.setEnabled(button.control, false);
    running_ = false;
    form_.setEnabled(Control::start, true);
    form_.setEnabled(Control::inti, true);
    form_.setEnabled(Control::cm, true);

    // Every test starts from the score the window loads with, so that both eyes of one person
    // are measured on the same scale.
    saigotensuu_ = 0;
    matigai_ = Variant::integer(0);
    tensuu_ = Variant::integer(kStartScore);
}

void AcuityTest::selectEye(int eye)
{
    sokuteime_ = Variant::integer(std::int16_t(eye));
    doesNotFitShown_ = false;
    form_.setStatusText(eyeStatusText());
}

} // namespace mitoon
