// The program entry: one instance at a time, the optional start delay, the six windows and the
// message loop.
#include "monitor/AttentionDialog.h"
#include "monitor/DutyCycleForm.h"
#include "monitor/MainForm.h"
#include "monitor/MonitorProgram.h"
#include "monitor/PasswordForms.h"
#include "monitor/WarningForm.h"
#include "ui/Application.h"

#include <cstdint>
#include <optional>

namespace monitor {

namespace {

// A start delay is a non-negative decimal number of milliseconds that fits in 32 bits; any
// other text means no wait.
std::optional<std::uint32_t> ParseStartDelay(const std::string& text) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace

int MonitorMain(os::System& system, ui::Platform& platform) {
    system.SetLastError(0);
    os::Handle mutex = system.CreateMutex(true, "ZarvoORLO");
    if (system.GetLastError() != 0) {
        system.BroadcastMessage(system.RegisterWindowMessage("OpenZarvoORLO"), 0, 0);
        return 1;
    }

    std::vector<std::string> args = system.GetArguments();
    if (!args.empty() && !args[0].empty()) {
        if (std::optional<std::uint32_t> delay = ParseStartDelay(args[0])) {
            std::uint32_t start = system.GetTickCount();
            do {
                system.Sleep(100);
                while (platform.DispatchOne()) {
                }
            } while (system.GetTickCount() - start < *delay);
        }
    }

    ui::Application app(system, platform);
    app.Title = "ORLO"; // the program's name: the caption of its message boxes
    MonitorProgram program(system, app);
    try {
        program.Form1 = app.CreateForm<TForm1>(program);
        program.FormWarning = app.CreateForm<TFormWarning>(program);
        program.FormChangePassword = app.CreateForm<TFormChangePassword>(program);
        program.FormPassword = app.CreateForm<TFormPassword>(program);
        program.OKBottomDlgAttention = app.CreateForm<TOKBottomDlgAttention>(program);
        program.frmDutyCycleForm = app.CreateForm<TfrmDutyCycleForm>(program);
        app.Run();
    } catch (const ui::Exception& e) {
        app.ShowException(e);
    } catch (...) {
        // Anything else leaves at once, running no more of the program's code: the windows go
        // first, while the program-wide values their destruction uses still exist.
        app.DiscardForms();
        throw;
    }
    system.ReleaseMutex(mutex);
    system.CloseHandle(mutex);
    // The windows are destroyed as the program ends, after the mutex is released: a new
    // instance may already start meanwhile.
    app.DestroyForms();
    return 0;
}

} // namespace monitor
