// A scripted user of the installer on a simulated machine: finds its windows and clicks its
// buttons when their pages show.
#pragma once

#include "setup/FolderChooser.h"
#include "setup/Wizard.h"

#include <cstdint>
#include <string>

namespace os::sim {
class SimMachine;
class SimProcess;
} // namespace os::sim

namespace ui {
class HeadlessPlatform;
}

namespace setup {

using WizardPage = ui::TTabSheet TForm1::*;
using WizardButton = ui::TButton TForm1::*;

// The installer's windows of one process on the machine, or null while it has none.
TForm1* WizardOf(os::sim::SimMachine& machine, const os::sim::SimProcess& process);
TForm2* ChooserOf(os::sim::SimMachine& machine, const os::sim::SimProcess& process);

// Whether `page` shows in the wizard of `process`, the folder chooser closed.
bool PageShown(os::sim::SimMachine& machine, const os::sim::SimProcess& process, WizardPage page);

// Once `page` shows in the wizard of `process`, the user clicks `button` `delay` ms later.
void ClickOnPage(ui::HeadlessPlatform& user, os::sim::SimMachine& machine,
                 const os::sim::SimProcess& process, WizardPage page, WizardButton button,
                 std::uint32_t delay = 500);

// The usual installation: Next on the welcome page, on the destination page the folder chooser
// when `destination` is given (the directory list opened at that folder, then Ok), Next; on the
// restart page "later" unless `restartNow`, then Finish.
void ScriptInstall(ui::HeadlessPlatform& user, os::sim::SimMachine& machine,
                   const os::sim::SimProcess& process, const std::string& destination = "",
                   bool restartNow = false);

} // namespace setup
