// The reading log log.txt: appended lines and the trim of old lines.
#include "monitor/MainForm.h"

namespace monitor {

void TForm1::AppendLogLine(const std::string&) {}

void TForm1::LogNowCheck() {}

void TForm1::LogReadingsIfDue() {}

void TForm1::TrimLogFile() {}

} // namespace monitor
