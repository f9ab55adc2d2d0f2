// The Configure page: per channel a monitor box and a low and a high limit spinner, each
// spinner showing its proposed value in the read-only edit beside it. The spinners' positions
// are the limits in force.
#include "monitor/MainForm.h"
#include "monitor/SensorConversions.h"
#include "monitor/SystemHelpers.h"
#include "ui/Application.h"

#include <algorithm>
#include <vector>

namespace monitor {

namespace {

// One channel's Configure-page controls; `ignoreIndex` is its entry in IgnoreFlags (fans,
// temperatures, voltages), `voltage` its voltage index or -1.
struct ChannelControls {
    int ignoreIndex;
    int voltage;
    ui::TCheckBox* box;
    ui::TUpDown* low;
    ui::TUpDown* high;
    ui::TEdit* lowEdit;
    ui::TEdit* highEdit;
};

std::vector<ChannelControls> AllChannels(const TForm1::ChannelRowSet& rows) {
    std::vector<ChannelControls> all;
    for (int i = 0; i < kFanCount; ++i) {
        const TForm1::FanRow& r = rows.Fan[i];
        all.push_back({i, -1, r.MonitorBox, r.LowUpDown, r.HighUpDown, r.LowEdit, r.HighEdit});
    }
    for (int i = 0; i < kTempCount; ++i) {
        const TForm1::SensorRow& r = rows.Temperature[i];
        all.push_back(
            {kFanCount + i, -1, r.MonitorBox, r.LowUpDown, r.HighUpDown, r.LowEdit, r.HighEdit});
    }
    for (int i = 0; i < kVoltCount; ++i) {
        const TForm1::SensorRow& r = rows.Voltage[i];
        all.push_back({kFanCount + kTempCount + i, i, r.MonitorBox, r.LowUpDown, r.HighUpDown,
                       r.LowEdit, r.HighEdit});
    }
    return all;
}

// The channel whose monitor box is the sender, found by name.
const ChannelControls* ChannelOfBox(const std::vector<ChannelControls>& all,
                                    const ui::Component* sender) {
    for (const ChannelControls& c : all)
        if (c.box && c.box->Name() == sender->Name()) return &c;
    return nullptr;
}

// The edit that shows the sender spinner's value, and the spinner's voltage index (or -1).
ui::TEdit* EditOfSpinner(const std::vector<ChannelControls>& all, const ui::Component* sender,
                         int* voltage = nullptr) {
    for (const ChannelControls& c : all) {
        ui::TEdit* edit = nullptr;
        if (c.low && c.low->Name() == sender->Name()) edit = c.lowEdit;
        if (c.high && c.high->Name() == sender->Name()) edit = c.highEdit;
        if (edit) {
            if (voltage) *voltage = c.voltage;
            return edit;
        }
    }
    return nullptr;
}

// The position a spinner takes for a proposal: the spinner keeps its range, so a proposal
// beyond a bound (an arrow pressed at the bound, a limit out of range in the board INI) is shown
// as the bound that the spinner then holds and that the tick and the save use.
int ValueTaken(const ui::Component* sender, short proposed) {
    auto* updown = dynamic_cast<const ui::TUpDown*>(sender);
    return updown ? std::clamp<int>(proposed, updown->Min(), updown->Max()) : proposed;
}

} // namespace

// A monitored channel's limits are locked, and a channel is monitored only with low below high.
void TForm1::CheckBoxFan0Click(ui::Component* sender) {
    std::vector<ChannelControls> all = AllChannels(ChannelRows);
    const ChannelControls* channel = ChannelOfBox(all, sender);
    if (!channel) return;
    program_.IgnoreFlags[channel->ignoreIndex] = false;
    if (channel->box->Checked()) {
        channel->low->SetEnabled(false);
        channel->high->SetEnabled(false);
        if (channel->low->Position() >= channel->high->Position()) {
            // Unchecking runs this handler again: the spinners come back and the state is saved
            // before the message shows.
            channel->box->SetChecked(false);
            App().ShowMessage("Incorrect Limit Range!!");
        }
    } else {
        channel->low->SetEnabled(true);
        channel->high->SetEnabled(true);
    }
    if (program_.Initialized) SaveSettings();
}

void TForm1::UpDownLowLimitFan0ChangingEx(ui::Component* sender, bool& allowChange, short newValue,
                                          ui::TUpDownDirection) {
    allowChange = true;
    if (ui::TEdit* edit = EditOfSpinner(AllChannels(ChannelRows), sender))
        edit->SetText(FormatText("%d", ValueTaken(sender, newValue)));
}

void TForm1::UpDownLowLimitVIN0ChangingEx(ui::Component* sender, bool& allowChange, short newValue,
                                          ui::TUpDownDirection) {
    allowChange = true;
    int voltage = -1;
    ui::TEdit* edit = EditOfSpinner(AllChannels(ChannelRows), sender, &voltage);
    if (!edit || voltage < 0) return;
    edit->SetText(FormatVoltageLimitText(ValueTaken(sender, newValue),
                                         IsNegativeRailSymbol(Settings.Voltage[voltage].Symbol)));
}

void TForm1::UpDownLowLimitTemp0ChangingEx(ui::Component* sender, bool& allowChange, short newValue,
                                           ui::TUpDownDirection) {
    if (newValue < 0 || newValue > 100) {
        allowChange = false;
        return;
    }
    allowChange = true;
    if (ui::TEdit* edit = EditOfSpinner(AllChannels(ChannelRows), sender))
        edit->SetText(FormatTemperatureText(newValue, SystemLanguage));
}

void TForm1::UpDownLowLimitFan0Click(ui::Component*, ui::TUDBtnType) {
    if (program_.Initialized) SaveSettings();
}

} // namespace monitor
