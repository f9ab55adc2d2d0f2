// The measurements behind tools/bench.sh, on the simulated demo machine of the host build.
//   orlo-bench ticks SECONDS   runs the monitor for SECONDS virtual seconds and prints the number
//                              of polling ticks (tools/bench.sh counts their instructions with
//                              callgrind)
//   orlo-bench trim LINES      trims a log of LINES periodic lines, the older half more than a
//                              day old
//   orlo-bench trim-long       trims a log whose first line is a time stamp and 1 MiB of text,
//                              followed by 20,000 recent lines
// A trim prints: lines, bytes, seconds (best of three), peak heap bytes during the trim.
#include "AllocationCounter.h"

#include "host/Distribution.h"
#include "monitor/Driver.h"
#include "monitor/MainForm.h"
#include "monitor/MonitorProgram.h"
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "ui/HeadlessPlatform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const char* const kProgramFolder = "C:\\Program Files\\ZARVO\\ORLO";

// Runs the monitor on the demo machine; `atOneSecond` sees the main window one virtual second
// after the start, and the run ends `seconds` after the start. Returns the number of polling
// ticks (the sensor requests that ask no chip id).
std::size_t
RunMonitor(unsigned seconds,
           const std::function<void(monitor::TForm1&, os::sim::SimMachine&)>& atOneSecond) {
    const fs::path sandbox =
        fs::temp_directory_path() / ("orlo-bench-" + std::to_string(::getpid()));
    fs::remove_all(sandbox);
    std::size_t ticks = 0;
    {
        os::sim::SimMachine machine(sandbox);
        // The distribution as installed, the overlay library with it: the tick feeds it.
        host::InstallDistribution(machine, ORLO_DATA_DIR, kProgramFolder);
        auto process = machine.StartProcess(std::string(kProgramFolder) + "\\ORLO.EXE");
        ui::HeadlessPlatform platform(*process);
        auto form = [&machine]() -> monitor::TForm1* {
            for (os::WindowSink* sink : machine.Windows())
                if (auto* f = dynamic_cast<monitor::TForm1*>(sink)) return f;
            return nullptr;
        };
        if (atOneSecond)
            platform.At(machine.Tick() + 1000, [&] {
                if (monitor::TForm1* f = form()) atOneSecond(*f, machine);
            });
        platform.At(machine.Tick() + seconds * 1000, [&] {
            process->BroadcastMessage(process->RegisterWindowMessage("EXITZarvoORLO"), 0, 0);
        });
        monitor::MonitorMain(*process, platform);
        for (const os::sim::DriverRequest& r :
             machine.RequestsWithCode(monitor::IOCTL_MBDRVR_READ_SENSORS))
            if (!r.input.empty() && r.input[0] == 0) ++ticks;
    }
    fs::remove_all(sandbox);
    return ticks;
}

// One periodic line of the demo board's kind, stamped `stamp`.
std::string PeriodicLine(std::int32_t stamp) {
    return "12/10/2026 9:00:00 AM - CPU FAN:6000, CPU Temp:40, VCore:1792, " +
           std::to_string(stamp) + "\r\n";
}

void Trim(const std::string& what, const std::function<std::string(std::int32_t now)>& makeLog) {
    RunMonitor(2, [&](monitor::TForm1& form, os::sim::SimMachine& machine) {
        const std::string path = std::string(kProgramFolder) + "\\log.txt";
        const std::string log = makeLog(machine.Time());
        double best = 1e9;
        allocation_counter::Totals totals;
        for (int round = 0; round < 3; ++round) {
            machine.WriteFile(path, log);
            allocation_counter::Measurement measure;
            const auto start = std::chrono::steady_clock::now();
            form.TrimLogFile();
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            best = std::min(best, took.count());
            totals = measure.Result();
        }
        const auto lines = std::count(log.begin(), log.end(), '\n');
        std::printf("%s %ld %zu %.6f %zu\n", what.c_str(), static_cast<long>(lines), log.size(),
                    best, totals.peak);
    });
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    const long count = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 0;
    if (command == "ticks" && count > 0) {
        std::printf("%zu\n", RunMonitor(static_cast<unsigned>(count), {}));
        return 0;
    }
    if (command == "trim" && count > 0) {
        Trim("lines", [count](std::int32_t now) {
            std::string log;
            for (long i = 0; i < count; ++i)
                log += PeriodicLine(i < count / 2 ? now - 90000 : now - 10);
            return log;
        });
        return 0;
    }
    if (command == "trim-long") {
        Trim("long-first-line", [](std::int32_t now) {
            std::string log = std::to_string(now - 10) + " " + std::string(1 << 20, 'x') + "\r\n";
            for (int i = 0; i < 20000; ++i)
                log += PeriodicLine(now - 10);
            return log;
        });
        return 0;
    }
    std::fprintf(stderr, "usage: orlo-bench ticks SECONDS | trim LINES | trim-long\n");
    return 2;
}
