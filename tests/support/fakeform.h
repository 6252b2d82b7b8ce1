#pragma once

#include "acuity/acuityform.h"
#include "acuity/acuitytest.h"
#include "acuity/calibration.h"
#include "platform/focusstepqueue.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace mitoon::testing {

// A main window without widgets: it keeps the controls' state and sends focus moves through a
// FocusStepQueue, so the test runs with the same ordering of focus steps as in the window.
class FakeForm : public AcuityForm
{
public:
    std::map<Control, QString> texts;
    std::map<Control, bool> enabled;
    std::map<Control, bool> visible;
    std::map<Control, bool> checked;
    // The room of the layout's client area on a screen large enough for every listed setting.
    RingRoom room{6645 - 4440, 7830 - 840 - 270, 14000, 12000};
    int grown = 0; // how often the window was asked to grow
    float width = 0;
    float height = 0;
    int picture = 0;
    int beeps = 0;
    QString status;
    FocusStepQueue focus;
    std::vector<std::string> log; // the focus steps in the order they ran

    QString text(Control c) const override
    {
        const auto it = texts.find(c);
        return it == texts.end() ? QString() : it->second;
    }
    void setText(Control c, const QString &t) override { texts[c] = t; }
    void setEnabled(Control c, bool e) override { enabled[c] = e; }
    void setVisible(Control c, bool v) override { visible[c] = v; }
    void setChecked(Control c, bool on) override
    {
        checked[c] = on;
        if (on)
            checked[c == Control::hidarime ? Control::migime : Control::hidarime] = false;
    }
    void setFocus(Control c) override { focus.focusGained(int(c)); }
    float ringWidth() const override { return width; }
    float ringHeight() const override { return height; }
    void setRingWidth(float u) override { width = u; }
    void setRingHeight(float u) override { height = u; }
    void setRingPicture(int o) override { picture = o; }
    RingRoom ringRoom() const override { return room; }
    void growRingRoom(double w, double h) override
    {
        room.width = w;
        room.height = h;
        ++grown;
    }
    void beep() override { ++beeps; }
    void setStatusText(const QString &t) override { status = t; }
};

// A clock for the trials that counts up from a fixed seed.
inline TrialRandom countingRandom(std::uint64_t first = 1)
{
    auto next = std::make_shared<std::uint64_t>(first);
    return TrialRandom([next] { return (*next)++; });
}

// The window as loaded, with the test's focus steps wired up and the user's inputs.
class Window
{
public:
    FakeForm form;
    AcuityTest test;

    explicit Window(TrialRandom random = countingRandom()) : test(form, std::move(random))
    {
        form.texts[Control::inti] = QStringLiteral("14");
        form.texts[Control::cm] = QStringLiteral("100");
        form.texts[Control::start] = QStringLiteral("スタート");
        form.visible[Control::kekkakiroku] = false;
        form.width = float(465 / double(kTwipsPerHorizontalUnit));
        form.height = float(405 / double(kTwipsPerVerticalUnit));
        form.focus.setStep(int(Control::start), [this] {
            form.log.push_back("start");
            test.startGotFocus();
        });
        form.focus.setStep(int(Control::tugi), [this] {
            form.log.push_back("tugi");
            test.tugiGotFocus();
        });
        form.focus.setStep(int(Control::kekka), [this] {
            form.log.push_back("kekka");
            test.kekkaGotFocus();
        });
        form.focus.focusGained(int(Control::inti));
        test.formLoad();
    }

    // The user presses a control with the mouse: it takes the focus, its step runs.
    void focusByUser(Control c)
    {
        form.focus.focusGained(int(c));
        form.focus.runPending();
    }
    void startTest() { focusByUser(Control::start); }
    // A click into another box and back into `tugi`: a new ring, no answer.
    void redraw()
    {
        focusByUser(Control::kekkadesu);
        focusByUser(Control::tugi);
    }
    // The user clicks a direction button: it takes the focus, then its handler runs.
    void press(Control button)
    {
        focusByUser(button);
        test.answer(button);
        form.focus.runPending();
    }
    void answerRight() { press(buttonAccepting(orientation()).control); }
    void answerWrong() { press(buttonAccepting(orientation() % 8 + 1).control); }
    int orientation() const { return int(*test.houkou().toNumber()); }
    // One whole test: `right` correct answers, then two wrong ones.
    void playTest(int right)
    {
        startTest();
        for (int i = 0; i < right; ++i)
            answerRight();
        answerWrong();
        answerWrong();
    }
};

} // namespace mitoon::testing
