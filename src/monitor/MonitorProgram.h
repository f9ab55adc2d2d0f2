// The monitor's program-wide values and its six windows, in one object per running program.
#pragma once

#include "monitor/Driver.h"
#include "monitor/SensorConversions.h"
#include "os/System.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ui {
class Application;
class Platform;
} // namespace ui

namespace monitor {

class TForm1;
class TFormWarning;
class TFormChangePassword;
class TFormPassword;
class TOKBottomDlgAttention;
class TfrmDutyCycleForm;

constexpr int kChannelCount = 15; // fan0-2, temp0-2, vin0-8

struct MonitorProgram {
    MonitorProgram(os::System& system, ui::Application& app)
        : System(system), App(app), driver(system, app) {}

    os::System& System;
    ui::Application& App;
    Driver driver;

    os::Handle DriverHandle = os::kInvalidHandle;
    os::Handle LibraryHandle = os::kNoHandle;
    BoardIdBytes BoardId{};
    std::uint8_t ChipId = 0;
    std::uint8_t SavedVCore = 0;
    std::string OSName;
    std::string ExeDir;
    bool Initialized = false;
    bool IsMiniPC = false;
    bool SmartFanEnabled = false;
    std::string AlarmChannel;
    bool IgnoreFlags[kChannelCount] = {};
    bool FanSpinning[3] = {};
    FanSpeedFilter FanFilters[3];
    // Made by the settings loader, deleted when the main window is destroyed.
    std::unique_ptr<MovingAverage> CpuTempAverage;
    std::int32_t LastLogTime = 0;
    bool LogAtFirstTick = true;
    bool FirstActivation = true;
    std::uint32_t ExitMessageId = 0;
    std::uint32_t OpenMessageId = 0;
    // Clear while the duty-cycle window's sweep runs: a tick of its timer inside the sweep
    // returns at once.
    bool SweepIdle = true;

    // The ghost monitor can be shown and hidden through the library; cleared for the rest of the
    // run the first time that the library lacks its show or hide export.
    bool GhostFormAvailable = true;

    TForm1* Form1 = nullptr;
    TFormWarning* FormWarning = nullptr;
    TFormChangePassword* FormChangePassword = nullptr;
    TFormPassword* FormPassword = nullptr;
    TOKBottomDlgAttention* OKBottomDlgAttention = nullptr;
    TfrmDutyCycleForm* frmDutyCycleForm = nullptr;
};

// The program entry: single instance, start delay, the six windows, the message loop.
// Returns the exit code.
int MonitorMain(os::System& system, ui::Platform& platform);

} // namespace monitor
