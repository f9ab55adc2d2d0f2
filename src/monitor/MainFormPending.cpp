// Steps of the main window that the settings, polling, log, ghost-monitor and smart-fan code
// fill in; until then they do nothing.
#include "monitor/MainForm.h"

namespace monitor {

void TForm1::SendGhostItems() {}
void TForm1::PageControl1Change(ui::Component*) {}
void TForm1::LoadGhostLibrary() {
    if (program_.OSName != "2000" && program_.OSName != "XP" && program_.OSName != "SERVER2003") {
        CheckBoxShowTransparentForm.SetChecked(false);
        CheckBoxShowTransparentForm.SetEnabled(false);
    }
}
void TForm1::UnloadGhostLibrary() {}

} // namespace monitor
