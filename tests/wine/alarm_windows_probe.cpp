// Shows the monitor's warning window and attention dialog (the program's own window classes) on
// real windows and checks what only the real windows show, one line per check ("ok ..." or
// "FAIL ..."):
//   - the stacking of each window's children: the windowed controls in their declaration order
//     on top, then the labels, bevels and images, a later one over an earlier one (so the
//     attention dialog's labels lie over its bevel);
//   - each label's real font: bold where its control is bold, of its control's size;
//   - each label's text fits its window in that font, the warning window's texts as the alarm
//     sets them for the longest channel names of the shipped boards.
// Then it prints the attention dialog's labels' places on the screen ("label NAME X Y W H"),
// "ready", and runs until the file named by its argument exists, for the test's screenshot.
//   alarm_windows_probe.exe STOPFILE
#include "monitor/AttentionDialog.h"
#include "monitor/MonitorProgram.h"
#include "monitor/WarningForm.h"
#include "os/win32/Win32System.h"
#include "ui/Application.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"
#include "ui/win32/Win32Platform.h"

#include "probe_support.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using probe::Check;
using probe::Settle;
using probe::Window;

bool IsGraphic(const ui::Control* control) {
    return dynamic_cast<const ui::TLabel*>(control) || dynamic_cast<const ui::TBevel*>(control) ||
           dynamic_cast<const ui::TImage*>(control);
}

// The children of `parent` from the top of their stacking down: the windowed ones in their
// declaration order, then the graphic ones from the last declared to the first.
void CheckStacking(const ui::Form& form, const ui::Control& parent) {
    std::vector<const ui::Control*> expected;
    for (const ui::Control* child : parent.Children())
        if (!IsGraphic(child)) expected.push_back(child);
    for (auto it = parent.Children().rbegin(); it != parent.Children().rend(); ++it)
        if (IsGraphic(*it)) expected.push_back(*it);
    std::map<HWND, const ui::Control*> byWindow;
    for (const ui::Control* child : parent.Children())
        byWindow[Window(*child)] = child;
    std::string shown, wanted;
    for (HWND hwnd = GetWindow(Window(parent), GW_CHILD); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT))
        if (byWindow.count(hwnd)) shown += " " + byWindow[hwnd]->Name();
    for (const ui::Control* child : expected)
        wanted += " " + child->Name();
    Check(shown == wanted, form.Name() + " stacks its controls from the top:" + shown +
                               (shown == wanted ? "" : " (expected" + wanted + ")"));
}

// The label's window font against its control's, and its text against its window's size.
void CheckLabel(const ui::TLabel& label) {
    HWND hwnd = Window(label);
    auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    LOGFONTA face{};
    bool known = font && GetObjectA(font, sizeof(face), &face);
    HDC screen = GetDC(nullptr);
    int height = -MulDiv(label.Font().Size, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    bool bold = (label.Font().Style & ui::fsBold) != 0;
    Check(known && (face.lfWeight >= FW_BOLD) == bold && face.lfHeight == height,
          label.Name() + " shows in a " + (bold ? "bold" : "normal") + " font of height " +
              std::to_string(height) + " (weight " + std::to_string(face.lfWeight) + ", height " +
              std::to_string(face.lfHeight) + ", " + face.lfFaceName + ")");

    RECT client;
    GetClientRect(hwnd, &client);
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{0, 0};
    const std::string& text = label.Caption();
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    Check(size.cx <= client.right && size.cy <= client.bottom,
          label.Name() + " \"" + text + "\" fits: " + std::to_string(size.cx) + "x" +
              std::to_string(size.cy) + " in " + std::to_string(client.right) + "x" +
              std::to_string(client.bottom));
}

void PrintPlace(const ui::Control& control) {
    RECT r;
    GetWindowRect(Window(control), &r);
    std::printf("label %s %ld %ld %ld %ld\n", control.Name().c_str(), r.left, r.top,
                r.right - r.left, r.bottom - r.top);
}

} // namespace

int main(int argc, char** argv) {
    std::string stopFile = argc > 1 ? argv[1] : "C:\\alarm_windows_probe.stop";
    auto system = os::win32::CreateWin32System();
    auto platform = ui::CreateWin32Platform();
    ui::Application app(*system, *platform);
    monitor::MonitorProgram program(*system, app);
    auto* warning = app.CreateForm<monitor::TFormWarning>(program);
    auto* attention = app.CreateForm<monitor::TOKBottomDlgAttention>(program);
    warning->Show();
    attention->Show();
    // Side by side, so that one screenshot shows both whole.
    SetWindowPos(Window(*attention), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(Window(*warning), nullptr, 400, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Settle(app);

    CheckStacking(*attention, *attention);
    CheckStacking(*warning, *warning);
    for (const ui::TLabel* label : {&attention->LabelAttention, &attention->LabelText1,
                                    &attention->LabelText2, &attention->Label1})
        CheckLabel(*label);
    for (const ui::TLabel* label : {&warning->Label1, &warning->Label4, &warning->Label5})
        CheckLabel(*label);
    // The alarm's texts, for the longest names of the shipped boards' channels.
    for (const char* message :
         {"Your 'Chassis FAN' Speed exceed the limit", "Your 'System' Temperature exceed the limit",
          "Your 'DDR VTT' Voltage exceed the limit"}) {
        warning->LabelMsg.SetCaption(message);
        CheckLabel(warning->LabelMsg);
    }
    for (const char* ignore :
         {"Ignore 'Chassis FAN' warning message", "Ignore 'DDR VTT' warning message"}) {
        warning->LabelIgnore.SetCaption(ignore);
        CheckLabel(warning->LabelIgnore);
    }
    warning->LabelDateTime.SetCaption(system->FormatLocalDateTime(system->GetLocalTime()));
    CheckLabel(warning->LabelDateTime);
    Settle(app);

    for (const ui::Control* label : {&attention->LabelAttention, &attention->LabelText1,
                                     &attention->LabelText2, &attention->Label1})
        PrintPlace(*label);
    return probe::RunUntilStopped(app, stopFile);
}
