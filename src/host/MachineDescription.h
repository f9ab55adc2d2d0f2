// Machine descriptions of the host commands (key=value lines that set up a simulated machine) and
// what the commands share of their options.
#pragma once

#include "ui/HeadlessPlatform.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

namespace os::sim {
class SimMachine;
}

namespace host {

// A whole number in decimal, or in hexadecimal behind "0x", of at most `max`; nothing else.
bool ParseNumber(const std::string& text, std::uint64_t max, std::uint64_t& value);

// The longest run a host command takes: an hour short of the virtual time a program may run on
// the headless loop (72 hours), which also covers the installation before the session and the
// programs' end after it. A longer run would end as a loop that nothing ends, and one past
// 2^31 ms would end at once: the 32-bit clock's times are compared as signed differences.
constexpr unsigned kMaxRunSeconds = ui::HeadlessPlatform::kDefaultVirtualTimeLimitMs / 1000 - 3600;
// The value of a command's "--seconds": "" with `seconds` set, else the message naming it.
std::string ParseSecondsOption(const std::string& value, unsigned& seconds);
// A command's answer to what its option parser said: for "help" the usage on `out` (status 0);
// for a fault, the fault on the error output behind the command's name (status 2); else the
// status of `run`, or 1 with the reason on the error output when it finds no place for its
// sandbox (SandboxUnavailable).
int AnswerOptions(const char* command, const char* usage, const std::string& parsed, std::FILE* out,
                  const std::function<int()>& run);

// Applies a machine description (key=value lines) to a machine. Returns "" or a message naming
// the line at fault; nothing is applied after it.
//   version=4.10, platform=9x|nt|win32s, lcid=0x0804, ppi=120, driver-after-ms=10000 (-1: never),
//   chip=0x91, board-id=ZRV-B910 (the driver's answer), bios-id=ZRV-B910 (the BIOS area read on
//   Windows 9x; empty: none, as by default), fan-divisor=2,2,2, fan-count=..., temperature=...,
//   voltage=... (raw sensor bytes), fail-mask=0x10, overlay-exports=InitInstance,... (the
//   overlay library in the program folder; empty: none), fan-max-rpm=..., mode-not-ready-reads=...,
//   wow64=1, administrator=0, short-names=0, windows-folder=D:\WINNT (see FolderPathFault)
std::string ApplyMachineDescription(os::sim::SimMachine& machine, const std::string& text);

// The largest description file the commands read: far more than any machine needs.
constexpr std::size_t kMaxDescriptionBytes = 64 * 1024;

// Reads a description file and applies it; "" or a message naming the file ("--machine FILE:"),
// also when it is no plain file (a folder, a device, a pipe) or holds more than
// kMaxDescriptionBytes.
std::string ApplyMachineFile(os::sim::SimMachine& machine, const std::string& path);

} // namespace host
