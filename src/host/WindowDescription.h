// The host commands' listing of the windows of the programs on a simulated machine.
#pragma once

#include <string>

namespace os::sim {
class SimMachine;
}

namespace host {

// Every window's controls with their texts, states and colours, one line each, indented by depth.
std::string DescribeWindows(os::sim::SimMachine& machine);

} // namespace host
