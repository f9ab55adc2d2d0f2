// Steps of the main window that the settings, polling, log, ghost-monitor and smart-fan code
// fill in; until then they do nothing.
#include "monitor/MainForm.h"

namespace monitor {

void TForm1::SmartFanStartup(ui::TIniFile&) {}

} // namespace monitor
