// The limit alarm and the warning close.
#include "monitor/MainForm.h"

namespace monitor {

void TForm1::RaiseLimitAlarm(const std::string&) {}

void CloseWarning(MonitorProgram&) {}

} // namespace monitor
