// The control library's behaviour that the programs rely on: handlers run on state changes from
// code, up-downs refuse and clamp, timers restart only on a change and fire inside modal loops,
// modal loops nest, a loop that can never end fails clearly, and a font change reaches the real
// window.
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/HeadlessPlatform.h"
#include "ui/StdCtrls.h"

#include "FormFixture.h"
#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

class TestForm : public ui::Form {
  public:
    explicit TestForm(ui::Application& app)
        : ui::Form(app, "TestForm"), Box(this, "Box"), Spin(this, "Spin"), Combo(this, "Combo"),
          Pages(this, "Pages"), Page1(&Pages, "Page1"), Page2(&Pages, "Page2"),
          Timer(this, "Timer", 1000, false) {}
    ui::TCheckBox Box;
    ui::TUpDown Spin;
    ui::TComboBox Combo;
    ui::TPageControl Pages;
    ui::TTabSheet Page1;
    ui::TTabSheet Page2;
    ui::TTimer Timer;
};

class UiSemantics : public FormFixture<TestForm> {
  protected:
    UiSemantics() : FormFixture("orlo-ui") {}
    std::uint32_t Now() { return machine.Tick(); }
};

TEST_F(UiSemantics, CheckingFromCodeRunsTheClickOnlyOnAChange) {
    int clicks = 0;
    form->Box.OnClick = [&](ui::Component*) { ++clicks; };
    form->Box.SetChecked(false);
    form->Box.SetChecked(true);
    form->Box.SetChecked(true);
    form->Box.UserClick();
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(form->Box.Checked());
}

TEST_F(UiSemantics, UpDownRefusesThroughItsHandlerAndHoldsToItsRange) {
    std::vector<int> proposed;
    form->Spin.SetRange(0, 100);
    form->Spin.OnChangingEx = [&](ui::Component*, bool& allow, short value, ui::TUpDownDirection) {
        proposed.push_back(value);
        allow = value != 13;
    };
    form->Spin.SetPosition(13);
    EXPECT_EQ(form->Spin.Position(), 0);
    form->Spin.SetPosition(150); // accepted, held to the range when read back
    EXPECT_EQ(form->Spin.Position(), 100);
    form->Spin.SetPosition(100);     // the value it holds: nothing runs
    form->Spin.SetPosition(150);     // differs from the held 100: the handler runs again
    form->Spin.SetPosition(0x10005); // only the low 16 bits count
    EXPECT_EQ(form->Spin.Position(), 5);
    EXPECT_EQ(proposed, (std::vector<int>{13, 150, 150, 5}));
}

TEST_F(UiSemantics, UpDownArrowAtTheBoundProposesButDoesNotClick) {
    int clicks = 0;
    std::vector<int> proposed;
    form->Spin.SetRange(0, 10);
    form->Spin.Increment = 5;
    form->Spin.SetPosition(10);
    form->Spin.OnChangingEx = [&](ui::Component*, bool&, short value, ui::TUpDownDirection) {
        proposed.push_back(value);
    };
    form->Spin.OnClickButton = [&](ui::Component*, ui::TUDBtnType) { ++clicks; };
    form->Spin.UserArrow(true);
    form->Spin.UserArrow(false);
    EXPECT_EQ(proposed, (std::vector<int>{15, 5}));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->Spin.Position(), 5);
}

TEST_F(UiSemantics, ComboTextFromCodeRunsNoHandlerAndSurvivesItemDelete) {
    int changes = 0;
    form->Combo.OnChange = [&](ui::Component*) { ++changes; };
    form->Combo.SetItems({"Ask Me", "Ignore", "Disable", "Shutdown"});
    form->Combo.SetText("Shutdown");
    form->Combo.DeleteItem(3);
    EXPECT_EQ(form->Combo.Text(), "Shutdown");
    EXPECT_EQ(form->Combo.Items().size(), 3u);
    EXPECT_EQ(changes, 0);
    form->Combo.UserSelect(1);
    EXPECT_EQ(form->Combo.Text(), "Ignore");
    EXPECT_EQ(changes, 1);
}

TEST_F(UiSemantics, PageShowRunsWhenThePageBecomesShownButOnChangeOnlyForTheUser) {
    std::vector<std::string> events;
    form->Page1.OnShow = [&](ui::Component*) { events.push_back("show1"); };
    form->Page2.OnShow = [&](ui::Component*) { events.push_back("show2"); };
    form->Pages.OnChange = [&](ui::Component*) { events.push_back("change"); };
    form->Pages.SetActivePage(&form->Page2); // window hidden: not shown yet
    form->Show();
    form->Pages.SetActivePage(&form->Page1);
    form->Pages.UserSelect(&form->Page2);
    form->Hide();
    form->Show(); // shown again with its window
    EXPECT_EQ(events, (std::vector<std::string>{"show2", "show1", "show2", "change", "show2"}));
}

TEST_F(UiSemantics, TimerRestartsOnlyWhenItsSettingsChange) {
    std::vector<std::uint32_t> ticks;
    std::uint32_t start = Now();
    form->Timer.OnTimer = [&](ui::Component*) { ticks.push_back(Now() - start); };
    form->Timer.SetEnabled(true);
    platform.At(start + 500, [&] { form->Timer.SetEnabled(true); });   // no restart
    platform.At(start + 1500, [&] { form->Timer.SetInterval(1000); }); // same value: no restart
    platform.At(start + 2500, [&] { form->Timer.SetInterval(300); });  // restart
    platform.At(start + 3000, [&] { app.Terminate(); });
    app.Run();
    EXPECT_EQ(ticks, (std::vector<std::uint32_t>{1000, 2000, 2800}));
}

TEST_F(UiSemantics, TimersFireInsideNestedModalLoops) {
    auto* dialog = app.CreateForm<TestForm>();
    std::vector<std::string> log;
    std::uint32_t start = Now();
    form->Timer.SetInterval(100);
    form->Timer.OnTimer = [&](ui::Component*) {
        log.push_back("tick");
        if (log.size() == 1) {
            // A modal window inside the handler; the same timer re-enters it meanwhile.
            int result = dialog->ShowModal();
            log.push_back("modal " + std::to_string(result));
        }
    };
    form->Timer.SetEnabled(true);
    platform.At(start + 350, [&] { dialog->Close(); });
    platform.At(start + 450, [&] { app.Terminate(); });
    app.Run();
    EXPECT_EQ(log, (std::vector<std::string>{"tick", "tick", "tick", "modal 2", "tick"}));
}

TEST_F(UiSemantics, MessageBoxLetsTimersRunWhileTheUserReads) {
    int ticks = 0;
    form->Timer.SetInterval(100);
    form->Timer.OnTimer = [&](ui::Component*) { ++ticks; };
    form->Timer.SetEnabled(true);
    platform.AnswerBoxes("slow", ui::kIdOk, 550);
    app.ShowMessage("quick");
    EXPECT_EQ(ticks, 0);
    app.ShowMessage("slow reader");
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(platform.MessageTexts(), (std::vector<std::string>{"quick", "slow reader"}));
}

TEST_F(UiSemantics, HandlerExceptionGoesToTheExceptionBoxAndTheLoopGoesOn) {
    int ticks = 0;
    form->Timer.OnTimer = [&](ui::Component*) {
        if (++ticks == 1) throw ui::Exception("Unable to write to C:\\X.INI");
    };
    form->Timer.SetEnabled(true);
    platform.At(Now() + 2500, [&] { app.Terminate(); });
    app.Run();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(platform.MessageTexts(), std::vector<std::string>{"Unable to write to C:\\X.INI."});
}

TEST_F(UiSemantics, ModalLoopThatCanNeverEndFailsClearly) {
    EXPECT_THROW(form->ShowModal(), ui::LoopStuck);
    // A timer alone does not end it either: the run's virtual time is bounded.
    platform.VirtualTimeLimitMs = 60000;
    form->Timer.SetEnabled(true);
    EXPECT_THROW(form->ShowModal(), ui::LoopStuck);
}

TEST_F(UiSemantics, ClosingAModalDialogReactivatesTheWindowBelow) {
    auto* dialog = app.CreateForm<TestForm>();
    int activations = 0;
    form->OnActivate = [&](ui::Component*) { ++activations; };
    form->Show();
    platform.At(Now() + 10, [&] { dialog->Close(); });
    dialog->ShowModal();
    EXPECT_EQ(activations, 2);
    EXPECT_TRUE(form->Active());
}

// At the session's end the close query answers WM_QUERYENDSESSION (allowed without an
// OnCloseQuery), and refuses a Close() too; WM_ENDSESSION with true terminates the application
// without closing its windows (no OnClose), with false it changes nothing.
TEST_F(UiSemantics, EndSessionMessagesAskTheCloseQueryAndTerminateWithoutClosing) {
    int closes = 0;
    form->OnClose = [&](ui::Component*, ui::TCloseAction&) { ++closes; };
    form->Show();
    EXPECT_EQ(form->Deliver(ui::kWmQueryEndSession, 0, 0), 1);
    bool allow = false;
    form->OnCloseQuery = [&](ui::Component*, bool& canClose) { canClose = allow; };
    EXPECT_EQ(form->Deliver(ui::kWmQueryEndSession, 0, 0), 0);
    form->Close();
    EXPECT_FALSE(app.Terminated());
    form->Deliver(ui::kWmEndSession, 0, 0);
    EXPECT_FALSE(app.Terminated());
    allow = true;
    EXPECT_EQ(form->Deliver(ui::kWmQueryEndSession, 0, 0), 1);
    form->Deliver(ui::kWmEndSession, 1, 0);
    EXPECT_TRUE(app.Terminated());
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(form->Visible());
}

// A platform whose real windows are recorders of the changes they are told of.
class RecordingPlatform : public ui::HeadlessPlatform {
  public:
    using HeadlessPlatform::HeadlessPlatform;
    struct Recorder : ui::ControlPeer {
        Recorder(RecordingPlatform& p, std::string n) : platform(p), name(std::move(n)) {}
        void Changed(ui::Prop prop) override { platform.changes.push_back({name, prop}); }
        RecordingPlatform& platform;
        std::string name;
    };
    std::unique_ptr<ui::ControlPeer> CreatePeer(ui::Component& component) override {
        return std::make_unique<Recorder>(*this, component.Name());
    }
    std::vector<std::pair<std::string, ui::Prop>> changes;
};

class LabelForm : public ui::Form {
  public:
    explicit LabelForm(ui::Application& app) : ui::Form(app, "LabelForm"), Label(this, "Label") {}
    ui::TLabel Label;
};

// The class library's default font, and each change of style, size or face told to the real
// window once; setting what the font holds already tells it nothing.
TEST(ControlFont, DefaultsAndChangesReachTheWindow) {
    TestSandbox sandbox("orlo-ui-font");
    os::sim::SimMachine machine(sandbox);
    auto process = machine.StartProcess("C:\\T.EXE");
    RecordingPlatform platform(*process);
    ui::Application app(*process, platform);
    ui::TLabel& label = app.CreateForm<LabelForm>()->Label;
    EXPECT_EQ(label.Font().Name, "MS Sans Serif");
    EXPECT_EQ(label.Font().Size, 8);
    EXPECT_EQ(label.Font().Style, 0);

    label.SetFontStyle(ui::fsBold | ui::fsItalic);
    label.SetFontStyle(ui::fsBold | ui::fsItalic);
    label.SetFontSize(14);
    label.SetFontSize(14);
    label.SetFontName("Arial");
    label.SetFontName("Arial");
    label.SetFontColor(ui::clRed);
    using Change = std::pair<std::string, ui::Prop>;
    EXPECT_EQ(platform.changes, (std::vector<Change>{{"Label", ui::Prop::Font},
                                                     {"Label", ui::Prop::Font},
                                                     {"Label", ui::Prop::Font},
                                                     {"Label", ui::Prop::FontColor}}));
    EXPECT_EQ(label.Font().Style, ui::fsBold | ui::fsItalic);
    EXPECT_EQ(label.Font().Size, 14);
    EXPECT_EQ(label.Font().Name, "Arial");
    app.DestroyForms();
}

} // namespace
