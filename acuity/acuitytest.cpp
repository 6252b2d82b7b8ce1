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

void AcuityTest::calibrate()
{
    // Both boxes are read whichever was picked. A text that is no positive number would divide
    // by zero or give a negative ring: then nothing changes.
    const Variant inches = Variant::text(form_.text(Control::inti));
    const Variant centimetres = Variant::text(form_.text(Control::cm));
    if (!sizeRing(inches, centimetres))
        return;
    gamensize_ = inches;
    kyori_ = centimetres;
}

void AcuityTest::keepBoxInRange(Control box, double low, double high, const QString &fallback)
{
    // Each test reads the box afresh; a text that is not a number is out of range too.
    const auto above = parseLocaleNumber(form_.text(box));
    if (!above || *above > high)
        form_.setText(box, fallback);
    const auto below = parseLocaleNumber(form_.text(box));
    if (!below || *below < low)
        form_.setText(box, fallback);
}

void AcuityTest::startGotFocus()
{
    if (gamensize_.equals(0))
        gamensize_ = Variant::integer(14);
    if (kyori_.equals(0))
        kyori_ = Variant::integer(100);
    // The ring follows the last calibration, never the texts as they stand now.
    sizeRing(gamensize_, kyori_);

    keepBoxInRange(Control::cm, 100, 300, QStringLiteral("100"));
    keepBoxInRange(Control::inti, 12, 32, QStringLiteral("14"));

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
    form_.setStatusText(eye == 1 ? QStringLiteral("左目測定中") : QStringLiteral("右目測定中"));
}

} // namespace mitoon
