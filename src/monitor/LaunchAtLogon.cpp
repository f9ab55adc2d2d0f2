// The logon-start value "ZarvoORLO" under the Run key.
#include "monitor/MainForm.h"

namespace monitor {

bool TForm1::IsLaunchOnStartup() { return false; }

void TForm1::SetLaunchOnStartup(bool) {}

} // namespace monitor
