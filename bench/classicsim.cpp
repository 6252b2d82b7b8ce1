#include "classicsim.h"

#include "acuity/acuityform.h"
#include "acuity/acuitytest.h"
#include "acuity/calibration.h"
#include "acuity/visualangle.h"
#include "platform/focusstepqueue.h"
#include "platform/twips.h"
#include "screencheck/ringrows.h"

#include <QLocale>
#include <cmath>
#include <map>

namespace mitoon::precise::bench {

namespace {

constexpr double kPitchMm = 0.2745;
constexpr double kDistanceMm = 1000;
// A test that goes on for this many answers has lost its way; none of the observers comes near.
constexpr int kMostAnswers = 400;

// The main window without widgets, as the tests' FakeForm has it: the controls' state, and
// focus moves through a FocusStepQueue so the test's steps run in the window's order.
class BenchForm : public AcuityForm
{
public:
    std::map<Control, QString> texts;
    float width = 0;
    float height = 0;
    // A room larger than any ring at the reference setting.
    RingRoom room{6645 - 4440, 7830 - 840 - 270, 14000, 12000};
    FocusStepQueue focus;

    QString text(Control c) const override
    {
        const auto it = texts.find(c);
        return it == texts.end() ? QString() : it->second;
    }
    void setText(Control c, const QString &t) override { texts[c] = t; }
    void setEnabled(Control, bool) override {}
    void setVisible(Control, bool) override {}
    void setChecked(Control, bool) override {}
    void setFocus(Control c) override { focus.focusGained(int(c)); }
    float ringWidth() const override { return width; }
    float ringHeight() const override { return height; }
    void setRingWidth(float u) override { width = u; }
    void setRingHeight(float u) override { height = u; }
    void setRingPicture(int) override {}
    RingRoom ringRoom() const override { return room; }
    void growRingRoom(double w, double h) override
    {
        room.width = w;
        room.height = h;
    }
    void beep() override {}
    void setStatusText(const QString &) override {}
};

} // namespace

double classicGapLogMar(float ringWidthUnits)
{
    const double widthPx =
        twips::toPixels(double(ringWidthUnits) * double(kTwipsPerHorizontalUnit));
    const double gapMm =
        widthPx * screencheck::kGapWidthPx / screencheck::kPictureWidthPx * kPitchMm;
    return *visualangle::logMar(*visualangle::visualAngleArcMin(gapMm, kDistanceMm));
}

ClassicOutcome runClassic(const SimulatedObserver &observer, std::uint64_t clockSeed)
{
    BenchForm form;
    std::uint64_t next = clockSeed;
    AcuityTest test(form, TrialRandom([&next] { return next++; }));
    form.texts[Control::inti] = QStringLiteral("14");
    form.texts[Control::cm] = QStringLiteral("100");
    form.width = float(465 / double(kTwipsPerHorizontalUnit));
    form.height = float(405 / double(kTwipsPerVerticalUnit));
    form.focus.setStep(int(Control::start), [&test] { test.startGotFocus(); });
    form.focus.setStep(int(Control::tugi), [&test] { test.tugiGotFocus(); });
    form.focus.setStep(int(Control::kekka), [&test] { test.kekkaGotFocus(); });
    form.focus.focusGained(int(Control::inti));
    test.formLoad();

    // The user presses a control: it takes the focus, its step runs, then its click handler.
    auto press = [&form](Control c) {
        form.focus.focusGained(int(c));
        form.focus.runPending();
    };
    press(Control::start);
    ClassicOutcome outcome;
    while (test.running() && outcome.answers < kMostAnswers) {
        const int orientation = int(*test.houkou().toNumber());
        const int answered =
            observer.answer(outcome.answers, classicGapLogMar(form.width), orientation);
        const Control button = buttonAccepting(answered).control;
        press(button);
        test.answer(button);
        form.focus.runPending();
        ++outcome.answers;
    }
    const double shown = QLocale::c().toDouble(form.text(Control::siryokuhyouji));
    outcome.logMar = -std::log10(shown);
    return outcome;
}

} // namespace mitoon::precise::bench
