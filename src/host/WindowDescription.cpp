#include "host/WindowDescription.h"

#include "os/sim/SimMachine.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/FileCtrl.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

#include <cstdio>
#include <sstream>

namespace host {

namespace {

std::string ColourName(ui::TColor colour) {
    switch (colour) {
    case ui::clRed:
        return "red";
    case ui::clLime:
        return "lime";
    case ui::clBlue:
        return "blue";
    case ui::clYellow:
        return "yellow";
    case ui::clGray:
        return "gray";
    case ui::clBlack:
        return "black";
    case ui::clWindowText:
        return "window-text";
    case ui::clBtnFace:
        return "button-face";
    case ui::clWindow:
        return "window";
    default: {
        char text[16];
        std::snprintf(text, sizeof text, "#%06X", colour);
        return text;
    }
    }
}

void Describe(const ui::Control& control, int depth, std::ostringstream& out) {
    out << std::string(static_cast<size_t>(depth) * 2, ' ') << control.Name();
    if (!control.Caption().empty()) out << " \"" << control.Caption() << "\"";
    if (auto* box = dynamic_cast<const ui::TCheckBox*>(&control))
        out << (box->Checked() ? " [x]" : " [ ]");
    if (auto* updown = dynamic_cast<const ui::TUpDown*>(&control))
        out << " position " << updown->Position();
    if (auto* image = dynamic_cast<const ui::TImage*>(&control))
        if (!image->Picture().source.empty()) out << " picture " << image->Picture().source;
    if (auto* animate = dynamic_cast<const ui::TAnimate*>(&control))
        out << " frame " << animate->CurrentFrame() << " (" << animate->PlayCount() << " plays)";
    if (auto* radio = dynamic_cast<const ui::TRadioButton*>(&control))
        out << (radio->Checked() ? " (o)" : " ( )");
    if (auto* bar = dynamic_cast<const ui::TProgressBar*>(&control))
        out << " " << bar->Position() << " of " << bar->Min << ".." << bar->Max;
    if (auto* pages = dynamic_cast<const ui::TPageControl*>(&control))
        if (pages->ActivePage()) out << " page " << pages->ActivePage()->Name();
    if (auto* drives = dynamic_cast<const ui::TDriveComboBox*>(&control))
        if (drives->Drive()) out << " drive " << drives->Drive() << ":";
    if (control.Focused()) out << " (focused)";
    if (dynamic_cast<const ui::TEdit*>(&control) || dynamic_cast<const ui::TLabel*>(&control))
        out << " font " << ColourName(control.Font().Color);
    if (dynamic_cast<const ui::TEdit*>(&control)) out << " colour " << ColourName(control.Color());
    if (!control.Visible()) out << " (hidden)";
    if (!control.Enabled()) out << " (disabled)";
    out << "\n";
    for (const ui::Control* child : control.Children())
        Describe(*child, depth + 1, out);
}

} // namespace

std::string DescribeWindows(os::sim::SimMachine& machine) {
    std::ostringstream out;
    for (os::WindowSink* sink : machine.Windows())
        if (auto* form = dynamic_cast<ui::Form*>(sink)) Describe(*form, 0, out);
    return out.str();
}

} // namespace host
