// Machine descriptions of the host commands: key=value lines that set up a simulated machine.
#pragma once

#include <string>

namespace os::sim {
class SimMachine;
}

namespace host {

// Applies a machine description to a machine; returns an error text or "".
//   version=4.10, platform=9x|nt|win32s, lcid=0x0804, ppi=120, driver-after-ms=10000 (-1: never),
//   chip=0x91, board-id=ZRV-B910, fan-divisor=2,2,2, fan-count=..., temperature=...,
//   voltage=... (raw sensor bytes), fail-mask=0x10,
//   wow64=1, administrator=0, short-names=0, windows-folder=D:\WINNT
std::string ApplyMachineDescription(os::sim::SimMachine& machine, const std::string& text);

// Reads a description file and applies it; returns an error text or "".
std::string ApplyMachineFile(os::sim::SimMachine& machine, const std::string& path);

} // namespace host
