#include "setup/host/ScriptedUser.h"

#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "ui/Application.h"
#include "ui/HeadlessPlatform.h"

namespace setup {

namespace {

template <typename Form>
Form* FormOf(os::sim::SimMachine& machine, const os::sim::SimProcess& process) {
    for (os::WindowSink* sink : machine.Windows()) {
        auto* form = dynamic_cast<Form*>(sink);
        if (form && &form->App().System() == &process) return form;
    }
    return nullptr;
}

} // namespace

TForm1* WizardOf(os::sim::SimMachine& machine, const os::sim::SimProcess& process) {
    return FormOf<TForm1>(machine, process);
}

TForm2* ChooserOf(os::sim::SimMachine& machine, const os::sim::SimProcess& process) {
    return FormOf<TForm2>(machine, process);
}

bool PageShown(os::sim::SimMachine& machine, const os::sim::SimProcess& process, WizardPage page) {
    TForm1* wizard = WizardOf(machine, process);
    TForm2* chooser = ChooserOf(machine, process);
    return wizard && wizard->Visible() && (wizard->*page).Showing() &&
           !(chooser && chooser->Visible());
}

void ClickOnPage(ui::HeadlessPlatform& user, os::sim::SimMachine& machine,
                 const os::sim::SimProcess& process, WizardPage page, WizardButton button,
                 std::uint32_t delay) {
    user.When([&machine, &process, page] { return PageShown(machine, process, page); },
              [&user, &machine, &process, page, button] {
                  if (!PageShown(machine, process, page)) return;
                  TForm1* wizard = WizardOf(machine, process);
                  user.Trace("user: clicks \"" + (wizard->*button).Caption() + "\" on \"" +
                             wizard->Caption() + "\"");
                  (wizard->*button).UserClick();
              },
              delay);
}

void ScriptInstall(ui::HeadlessPlatform& user, os::sim::SimMachine& machine,
                   const os::sim::SimProcess& process, const std::string& destination,
                   bool restartNow) {
    ClickOnPage(user, machine, process, &TForm1::TabSheet1, &TForm1::Button2);
    if (!destination.empty()) {
        ClickOnPage(user, machine, process, &TForm1::TabSheet6, &TForm1::Button16);
        user.When(
            [&machine, &process] {
                TForm2* chooser = ChooserOf(machine, process);
                return chooser && chooser->Visible();
            },
            [&machine, &process, destination] {
                TForm2* chooser = ChooserOf(machine, process);
                chooser->DirectoryListBox1.SetDirectory(destination);
                chooser->Button1.UserClick();
            },
            500, "opens " + destination + " in the folder chooser and clicks \"Ok\"");
    }
    // After the chooser, when there is one, has closed again.
    ClickOnPage(user, machine, process, &TForm1::TabSheet6, &TForm1::Button14,
                destination.empty() ? 500 : 1500);
    if (!restartNow) {
        user.When([&machine, &process] { return PageShown(machine, process, &TForm1::TabSheet3); },
                  [&machine, &process] { WizardOf(machine, process)->RadioButton2.UserClick(); },
                  300, "picks \"No, I will restart my computer later.\"");
    }
    ClickOnPage(user, machine, process, &TForm1::TabSheet3, &TForm1::Button12, 800);
}

} // namespace setup
