// Shows the two charts of the smart fan on real windows: the fan curve aligned to the bottom of
// a form, and the duty-cycle curve filling a panel that fills its form. It checks what only the
// real windows can show and prints one line per check ("ok ..." or "FAIL ..."):
//   - the charts' places (bottom of the client area, whole client area);
//   - the screen cursor: the hourglass and the arrow again, at once, with the mouse at rest;
//   - no needless drawing: drawing the same curve again, or an asked-for repaint of an
//     unchanged chart, paints nothing; a hidden chart paints nothing until it shows.
// Then it prints the charts' places on the screen ("chart NAME X Y W H"), "ready", and runs
// until the file named by its argument exists, for the test to take and measure screenshots.
//   chart_probe.exe STOPFILE
#include "os/win32/Win32System.h"
#include "ui/Application.h"
#include "ui/Chart.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/win32/Win32Platform.h"

#include "probe_support.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string TemperatureText(int celsius) {
    char text[32];
    std::snprintf(text, sizeof(text),
                  "%d\xB0"
                  "C/%d\xB0"
                  "F",
                  celsius, celsius * 9 / 5 + 32);
    return text;
}

// The curve of full 3000, mid 1800 and low 900 RPM over the points 20, 40 and 60 degrees.
void DrawFanCurve(ui::TLineSeries& series, int full) {
    series.Clear();
    for (int t = 0; t <= 130; ++t) {
        int rpm = t < 20 ? 0 : t < 30 ? 900 : t < 40 ? 1350 : t < 50 ? 1800 : t < 60 ? 2400 : full;
        series.Add(rpm, TemperatureText(t), ui::clRed);
    }
}

// A measured fan: standing at 0 %, from 720 RPM at 5 % up to 3000 RPM at 100 %.
void DrawDutyCurve(ui::TLineSeries& series, int slope) {
    series.Clear();
    for (int d = 0; d <= 100; d += 5)
        series.Add(d == 0 ? 0 : 600 + slope * d, std::to_string(d), ui::clRed);
}

struct FanPageForm : ui::Form {
    explicit FanPageForm(ui::Application& app)
        : ui::Form(app, "FanPageForm"), Chart1(this, "Chart1"), Series1(&Chart1, "Series1") {
        SetCaption("Chart probe: smart fan");
        BorderStyle = ui::TBorderStyle::bsSingle;
        SetBounds(0, 0, 383, 376);
        Chart1.Align = ui::TPanel::TAlign::alBottom;
        Chart1.SetBounds(0, 150, 377, 200);
        Chart1.BottomAxis.SetTitle("Temperature");
        Chart1.LeftAxis.SetTitle("RPM");
        Chart1.LeftAxis.Automatic = false;
        Chart1.LeftAxis.SetMinimum(5);
        Chart1.LeftAxis.SetMaximum(329);
    }
    ui::TChart Chart1;
    ui::TLineSeries Series1;
};

struct DutyForm : ui::Form {
    explicit DutyForm(ui::Application& app)
        : ui::Form(app, "DutyForm"), Panel1(this, "Panel1"), Chart1(&Panel1, "Chart1"),
          Series1(&Chart1, "Series1") {
        SetCaption("Chart probe: duty cycle");
        BorderStyle = ui::TBorderStyle::bsSingle;
        BorderIcons = ui::biSystemMenu;
        SetBounds(0, 0, 497 + 6, 178 + 25);
        Panel1.Align = ui::TPanel::TAlign::alClient;
        Panel1.BevelOuterNone = true;
        Panel1.SetBounds(0, 0, 497, 178);
        Chart1.Align = ui::TPanel::TAlign::alClient;
        Chart1.SetBounds(0, 0, 497, 178);
        Chart1.BottomAxis.SetTitle("Duty-Cycle (%)");
        Chart1.LeftAxis.SetTitle("RPM");
        Chart1.LeftAxis.Automatic = false;
    }
    ui::TPanel Panel1;
    ui::TChart Chart1;
    ui::TLineSeries Series1;
};

// WM_PAINT messages of the charts' windows, counted by a window procedure put in front of
// theirs.
struct PaintCounter {
    HWND window = nullptr;
    WNDPROC original = nullptr;
    int paints = 0;
};
PaintCounter counters[2];

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    for (PaintCounter& counter : counters) {
        if (counter.window != hwnd) continue;
        if (msg == WM_PAINT) ++counter.paints;
        return CallWindowProcA(counter.original, hwnd, msg, wParam, lParam);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void CountPaints(PaintCounter& counter, HWND window) {
    counter.window = window;
    counter.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
}

using probe::Check;
using probe::ClientOnScreen;
using probe::ScreenRect;
using probe::Settle;
using probe::Window;

bool SameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

void PrintPlace(const char* name, HWND hwnd) {
    RECT r = ScreenRect(hwnd);
    std::printf("chart %s %ld %ld %ld %ld\n", name, r.left, r.top, r.right - r.left,
                r.bottom - r.top);
}

bool CursorIs(LPCSTR id) {
    return GetCursor() == LoadCursor(nullptr, id);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(stderr, "usage: chart_probe [STOPFILE]\n");
        return 2;
    }
    std::string stopFile = argc > 1 ? argv[1] : "C:\\chart_probe.stop";
    auto system = os::win32::CreateWin32System();
    auto platform = ui::CreateWin32Platform();
    ui::Application app(*system, *platform);
    app.Title = "Chart probe";
    auto* fan = app.CreateForm<FanPageForm>();
    auto* duty = app.CreateForm<DutyForm>();

    // The page's order: minimum first, then maximum.
    fan->Chart1.LeftAxis.SetMinimum(0);
    fan->Chart1.LeftAxis.SetMaximum(3000 + 500);
    DrawFanCurve(fan->Series1, 3000);
    duty->Chart1.LeftAxis.SetMinimum(0);
    duty->Chart1.LeftAxis.SetMaximum(3000 + 500);
    DrawDutyCurve(duty->Series1, 24);

    fan->Show();
    duty->Show();
    SetWindowPos(Window(*fan), nullptr, 10, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(Window(*duty), nullptr, 420, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND fanChart = Window(fan->Chart1), dutyChart = Window(duty->Chart1);
    CountPaints(counters[0], fanChart);
    CountPaints(counters[1], dutyChart);
    Settle(app, 1000);

    RECT fanClient = ClientOnScreen(Window(*fan)), fanPlace = ScreenRect(fanChart);
    RECT bottom = fanClient;
    bottom.top = fanClient.bottom - 200;
    Check(SameRect(fanPlace, bottom), "fan chart at the bottom of its form, full width");
    Check(SameRect(ScreenRect(dutyChart), ClientOnScreen(Window(*duty))),
          "duty chart fills its panel, which fills its form");
    Check(counters[0].paints > 0 && counters[1].paints > 0, "both charts painted");

    // The screen cursor shows at once over the program's windows.
    SetCursorPos((fanPlace.left + fanPlace.right) / 2, (fanPlace.top + fanPlace.bottom) / 2);
    Settle(app, 300);
    app.SetScreenCursor(ui::TCursor::crHourGlass);
    Check(CursorIs(IDC_WAIT), "hourglass at once");
    app.SetScreenCursor(ui::TCursor::crDefault);
    Check(CursorIs(IDC_ARROW), "arrow again at once");

    // No needless drawing.
    counters[0].paints = 0;
    DrawFanCurve(fan->Series1, 3000);
    fan->Chart1.LeftAxis.SetMinimum(0);
    fan->Chart1.LeftAxis.SetMaximum(3500);
    fan->Chart1.Repaint();
    Settle(app);
    Check(counters[0].paints == 0, "the same curve again paints nothing (" +
                                       std::to_string(counters[0].paints) + " paints)");
    DrawFanCurve(fan->Series1, 3200);
    Settle(app);
    Check(counters[0].paints == 1,
          "a changed curve paints once (" + std::to_string(counters[0].paints) + " paints)");
    DrawFanCurve(fan->Series1, 3000);
    Settle(app);

    // Changes while hidden are drawn when the window shows again (the screenshot shows the
    // curve of slope 24).
    DrawDutyCurve(duty->Series1, 10);
    Settle(app);
    duty->Hide();
    Settle(app);
    counters[1].paints = 0;
    DrawDutyCurve(duty->Series1, 24);
    duty->Chart1.Repaint();
    Settle(app);
    Check(counters[1].paints == 0, "a hidden chart paints nothing");
    duty->Show();
    Settle(app);
    Check(counters[1].paints > 0, "shown again, it paints");

    PrintPlace("fan", fanChart);
    PrintPlace("duty", dutyChart);
    return probe::RunUntilStopped(app, stopFile);
}
