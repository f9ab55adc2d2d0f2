// The user's keyboard and window roads into the control library: Tab walks the tab stops the
// model names, the arrow keys press a focused up-down's arrows, Alt with an underlined letter
// picks a page tab or a button as a click would, and a minimise by the system reaches the model.
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

#include "FormFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A read-only edit that Tab skips, an edit, an up-down, a button, and pages with a control
// each; the second page's edit sits in a hidden panel.
class KeysForm : public ui::Form {
  public:
    explicit KeysForm(ui::Application& app)
        : ui::Form(app, "KeysForm"), Reading(this, "Reading"), Name(this, "Name"),
          Spin(this, "Spin"), Apply(this, "Apply"), Pages(this, "Pages"), One(&Pages, "One"),
          Two(&Pages, "Two"), Three(&Pages, "Three"), OneBox(&One, "OneBox"),
          Hidden(&Two, "Hidden"), HiddenEdit(&Hidden, "HiddenEdit"), TwoButton(&Two, "TwoButton") {
        Reading.SetReadOnly(true);
        Reading.SetTabStop(false);
        Spin.SetRange(0, 10);
        Apply.SetCaption("&Apply");
        One.SetCaption("&One");
        Two.SetCaption("T&wo");
        Three.SetCaption("&Three");
        Three.SetTabVisible(false);
        OneBox.SetCaption("&Box");
        Hidden.SetVisible(false);
        TwoButton.SetCaption("&Go");
    }
    ui::TEdit Reading;
    ui::TEdit Name;
    ui::TUpDown Spin;
    ui::TButton Apply;
    ui::TPageControl Pages;
    ui::TTabSheet One, Two, Three;
    ui::TCheckBox OneBox;
    ui::TPanel Hidden;
    ui::TEdit HiddenEdit;
    ui::TButton TwoButton;
};

class UserInput : public FormFixture<KeysForm> {
  protected:
    UserInput() : FormFixture("orlo-ui-input") { form->Show(); }
    std::vector<std::string> FocusWalk(int presses, bool shift) {
        std::vector<std::string> walk;
        for (int i = 0; i < presses; ++i) {
            form->UserKeyDown(ui::kVkTab, shift);
            walk.push_back(form->ActiveControl ? form->ActiveControl->Name() : "none");
        }
        return walk;
    }
};

TEST_F(UserInput, TabStopsAreTheFocusTakingControlsThatDoNotSayNo) {
    EXPECT_FALSE(form->Reading.TabStop());
    EXPECT_TRUE(form->Name.TabStop());
    EXPECT_TRUE(form->Spin.TabStop());
    EXPECT_FALSE(form->Pages.TabStop());
    EXPECT_FALSE(form->Hidden.TabStop());
    form->Name.SetTabStop(false);
    form->Reading.SetTabStop(true);
    EXPECT_EQ(FocusWalk(2, false), (std::vector<std::string>{"Reading", "Spin"}));
}

// Of radio buttons side by side, Tab stops at the checked one only.
TEST_F(UserInput, TabStopsAtTheCheckedRadioButton) {
    ui::TRadioButton first(&form->One, "First"), second(&form->One, "Second");
    EXPECT_FALSE(first.TabStop());
    first.SetChecked(true);
    EXPECT_TRUE(first.TabStop());
    second.UserClick();
    EXPECT_FALSE(first.TabStop());
    EXPECT_TRUE(second.TabStop());
    form->ActiveControl = &form->OneBox;
    EXPECT_EQ(FocusWalk(2, false), (std::vector<std::string>{"Second", "Name"}));
}

// The first focus goes to the first tab stop. Tab walks the shown and enabled stops in order and
// wraps; Shift+Tab walks back. Neither the read-only edit, the controls of the hidden page, nor
// the edit of the hidden panel is a stop.
TEST_F(UserInput, TabWalksTheShownStopsInOrder) {
    EXPECT_EQ(form->ActiveControl, &form->Name);
    EXPECT_EQ(FocusWalk(4, false), (std::vector<std::string>{"Spin", "Apply", "OneBox", "Name"}));
    EXPECT_EQ(FocusWalk(2, true), (std::vector<std::string>{"OneBox", "Apply"}));
    form->Pages.UserSelect(&form->Two);
    form->Spin.SetEnabled(false);
    form->ActiveControl = nullptr;
    EXPECT_EQ(FocusWalk(4, false),
              (std::vector<std::string>{"Name", "Apply", "TwoButton", "Name"}));
}

// The arrow keys on a focused up-down are its arrow presses: the change handler sees the
// proposal and the click handler follows a move. Without the focus they do nothing to it.
TEST_F(UserInput, ArrowKeysPressTheArrowsOfTheFocusedUpDown) {
    std::vector<std::string> clicks;
    form->Spin.OnClickButton = [&](ui::Component*, ui::TUDBtnType b) {
        clicks.push_back(b == ui::TUDBtnType::btNext ? "up" : "down");
    };
    form->Name.SetFocus();
    form->UserKeyDown(ui::kVkUp);
    EXPECT_EQ(form->Spin.Position(), 0);
    form->Spin.SetFocus();
    form->UserKeyDown(ui::kVkUp);
    form->UserKeyDown(ui::kVkUp);
    form->UserKeyDown(ui::kVkDown);
    form->UserKeyDown(ui::kVkDown);
    form->UserKeyDown(ui::kVkDown); // at the bound: no move, no click
    EXPECT_EQ(form->Spin.Position(), 0);
    EXPECT_EQ(clicks, (std::vector<std::string>{"up", "up", "down", "down"}));
}

// Alt with a letter: a page tab is picked as the user's click on it (the change handlers run
// and may refuse), a button is clicked, a box toggles; letters of hidden tabs and of controls
// out of sight pick nothing.
TEST_F(UserInput, AltWithTheUnderlinedLetterPicksAsAClick) {
    int changes = 0, applies = 0, goes = 0;
    bool allow = true;
    form->Pages.OnChanging = [&](ui::Component*, bool& ok) { ok = allow; };
    form->Pages.OnChange = [&](ui::Component*) { ++changes; };
    form->Apply.OnClick = [&](ui::Component*) { ++applies; };
    form->TwoButton.OnClick = [&](ui::Component*) { ++goes; };

    EXPECT_TRUE(form->UserMnemonic('w'));
    EXPECT_EQ(form->Pages.ActivePage(), &form->Two);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(form->UserMnemonic('T')); // the hidden tab
    EXPECT_FALSE(form->UserMnemonic('B')); // the box of the page out of sight
    EXPECT_TRUE(form->UserMnemonic('G'));
    EXPECT_EQ(goes, 1);
    allow = false;
    EXPECT_TRUE(form->UserMnemonic('O'));
    EXPECT_EQ(form->Pages.ActivePage(), &form->Two);
    allow = true;
    EXPECT_TRUE(form->UserMnemonic('o'));
    EXPECT_EQ(form->Pages.ActivePage(), &form->One);
    EXPECT_TRUE(form->UserMnemonic('b'));
    EXPECT_TRUE(form->OneBox.Checked());
    EXPECT_EQ(form->ActiveControl, &form->OneBox);
    EXPECT_FALSE(form->UserMnemonic('G'));
    EXPECT_TRUE(form->UserMnemonic('A'));
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(form->UserMnemonic('z'));
}

// A window without a tray icon that the user minimises is iconic and inactive until the user
// restores it; with a tray icon the icon's Minimize and Restore take it there and back.
TEST_F(UserInput, AMinimiseBySystemReachesTheModel) {
    ASSERT_TRUE(form->Active());
    form->UserMinimize();
    EXPECT_TRUE(form->Minimized());
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(form->Active());
    form->UserRestore();
    EXPECT_FALSE(form->Minimized());
    EXPECT_TRUE(form->Active());

    ui::TTrayIcon tray(form, "Tray");
    int restores = 0;
    tray.OnRestore = [&](ui::Component*) { ++restores; };
    form->UserMinimize();
    EXPECT_TRUE(tray.Minimized());
    EXPECT_TRUE(form->Minimized());
    EXPECT_FALSE(form->Active());
    form->UserRestore();
    EXPECT_FALSE(tray.Minimized());
    EXPECT_FALSE(form->Minimized());
    EXPECT_TRUE(form->Active());
    EXPECT_EQ(restores, 1);
}

} // namespace
