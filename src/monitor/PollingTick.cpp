// The polling tick: reads the sensors, shows and checks every channel.
//
// The tick is re-entered while it shows the warning window modally (RaiseLimitAlarm with
// "Ask Me"): the nested ticks convert new readings into Settings. So no reading, limit or
// monitor state is held in a local across RaiseLimitAlarm; every step after it reads anew.
#include "monitor/MainForm.h"
#include "monitor/SensorConversions.h"
#include "monitor/SystemHelpers.h"

namespace monitor {

namespace {

bool OutOfRangeUnsigned(std::uint32_t reading, int low, int high) {
    return reading < static_cast<std::uint32_t>(low) || reading > static_cast<std::uint32_t>(high);
}

bool OutOfRangeSigned(std::int32_t reading, int low, int high) {
    return reading < low || reading > high;
}

} // namespace

void TForm1::Timer1Timer(ui::Component*) {
    MonitorProgram& p = program_;

    LogNowCheck();
    Timer1.SetInterval(static_cast<std::uint32_t>(UpDownInterval.Position()));

    // The tick never asks for the chip id again; on chip 0x92 it asks for the fans' high bits.
    SensorPacket request{};
    for (int i = 0; i < kVoltCount; ++i)
        request[10 + static_cast<size_t>(i)] = Settings.Voltage[i].Enabled ? 1 : 0;
    for (int i = 0; i < kFanCount; ++i) {
        request[4 + static_cast<size_t>(i)] = Settings.Fan[i].Enabled ? 1 : 0;
        request[7 + static_cast<size_t>(i)] = Settings.Temperature[i].Enabled ? 1 : 0;
    }
    if (p.ChipId == kChip92)
        for (size_t i = 1; i <= 3; ++i)
            request[i] = 1;
    SensorPacket reply = p.driver.ReadSensors(p.DriverHandle, request);

    if (p.ChipId == kChip92 && p.SmartFanEnabled && !p.IsMiniPC) SmartFanRefresh();

    if (!p.CpuTempAverage) p.CpuTempAverage = std::make_unique<MovingAverage>();
    // VIN0, FAN0, TEMP0, VIN1, FAN1, TEMP1, VIN2, FAN2, TEMP2, VIN3 .. VIN8: the fan filters
    // and the CPU average see their samples in this order.
    for (int i = 0; i < kVoltCount; ++i) {
        TVOLTAGE& v = Settings.Voltage[i];
        if (v.Enabled) {
            v.Value = reply[10 + static_cast<size_t>(i)];
            v.Value = VoltageReading(p.ChipId, i, static_cast<std::uint8_t>(v.Value), v.R1, v.R2,
                                     IsNegativeRailSymbol(v.Symbol));
        }
        if (i >= kFanCount) continue;
        TFAN& f = Settings.Fan[i];
        if (f.Enabled)
            f.Value =
                ConvertFanReading(p.ChipId, reply[1 + static_cast<size_t>(i)],
                                  reply[4 + static_cast<size_t>(i)], f.Divisor, p.FanFilters[i]);
        TTEMPERATURE& t = Settings.Temperature[i];
        if (t.Enabled)
            t.Value = DecodeTemperature(p.ChipId, i, reply[7 + static_cast<size_t>(i)],
                                        CpuTempIndex, *p.CpuTempAverage);
    }

    // The periodic line comes before the passes, so it precedes the alarm entries of this tick.
    LogReadingsIfDue();

    for (int n = 0; n < kFanCount; ++n) {
        std::string key = FormatText("fan%d", n);
        if (Settings.Fan[n].Enabled) {
            const FanRow& row = ChannelRows.Fan[n];
            if (row.MonitorBox->Checked() &&
                OutOfRangeUnsigned(Settings.Fan[n].Value, row.LowUpDown->Position(),
                                   row.HighUpDown->Position())) {
                ShowLedNumber("red", Settings.Fan[n].Value, row.Digits);
                RaiseLimitAlarm(key);
            } else {
                ShowLedNumber("green", Settings.Fan[n].Value, row.Digits);
                if (p.AlarmChannel == key) CloseWarning(p);
            }
        }
        // Every fan, enabled or not, with the reading the latest tick left.
        p.FanSpinning[n] = Settings.Fan[n].Value != 0;
    }

    for (int n = 0; n < kTempCount; ++n) {
        std::string key = FormatText("temp%d", n);
        if (!Settings.Temperature[n].Enabled) continue;
        const SensorRow& row = ChannelRows.Temperature[n];
        if (CheckBoxCPUtoP80.Checked() && n == CpuTempIndex)
            p.driver.ReportPostCode(p.DriverHandle, PciConfigDword,
                                    PostCodeValue(Settings.Temperature[n].Value));
        std::int32_t value = Settings.Temperature[n].Value;
        if (row.MonitorBox->Checked() && value != kNoTemperature &&
            OutOfRangeSigned(value, row.LowUpDown->Position(), row.HighUpDown->Position())) {
            row.ValueBox->SetFontColor(ui::clRed);
            row.ValueBox->SetText(FormatTemperatureText(value, SystemLanguage));
            RaiseLimitAlarm(key);
        } else {
            if (value == kNoTemperature) {
                row.ValueBox->SetFontColor(ui::clGray);
                row.ValueBox->SetText("N/A");
            } else {
                row.ValueBox->SetFontColor(ui::clLime);
                row.ValueBox->SetText(FormatTemperatureText(value, SystemLanguage));
            }
            if (p.AlarmChannel == key) CloseWarning(p);
        }
        if (n == CpuTempIndex && p.LibraryHandle != os::kNoHandle)
            GhostSetCPUTemperature(Settings.Temperature[n].Value);
    }

    for (int n = 0; n < kVoltCount; ++n) {
        std::string key = FormatText("vin%d", n);
        if (!Settings.Voltage[n].Enabled) continue;
        const SensorRow& row = ChannelRows.Voltage[n];
        bool negative = IsNegativeRailSymbol(Settings.Voltage[n].Symbol);
        std::uint32_t value = Settings.Voltage[n].Value;
        if (row.MonitorBox->Checked() &&
            OutOfRangeUnsigned(value, row.LowUpDown->Position(), row.HighUpDown->Position())) {
            row.ValueBox->SetFontColor(ui::clRed);
            row.ValueBox->SetText(FormatVoltageText(value, negative));
            RaiseLimitAlarm(key);
        } else {
            row.ValueBox->SetFontColor(ui::clLime);
            row.ValueBox->SetText(FormatVoltageText(value, negative));
            if (p.AlarmChannel == key) CloseWarning(p);
        }
        if (n == VCoreIndex && p.LibraryHandle != os::kNoHandle)
            GhostSetCPUVCore(row.ValueBox->Text());
    }
}

} // namespace monitor
