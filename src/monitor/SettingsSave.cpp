// The common settings save: the Configure page's monitor boxes and limits, the polling interval
// and the Setup page's options, written into the board INI, then the logon-start value.
#include "monitor/MainForm.h"
#include "monitor/SystemHelpers.h"
#include "ui/IniFile.h"

namespace monitor {

void TForm1::SaveSettings() {
    // ORLO.INI is asked again at every save; when it no longer lists this board the save goes
    // into the board INI found at start-up. With neither (the run began with an unknown board)
    // no board key is written, but the Run value still follows its box.
    const std::string boardIni = BoardIniNameForSave();
    if (!boardIni.empty()) {
        ui::TIniFile ini(program_.System, program_.ExeDir + boardIni);
        auto writeChannel = [&ini](const std::string& section, const ui::TCheckBox& box,
                                   const ui::TUpDown& low, const ui::TUpDown& high) {
            ini.WriteBool(section, "MONITOR", box.Checked());
            ini.WriteInteger(section, "LOW LIMIT", low.Position());
            ini.WriteInteger(section, "HIGH LIMIT", high.Position());
        };
        for (int i = 0; i < kFanCount; ++i) {
            const FanRow& fan = ChannelRows.Fan[i];
            writeChannel("FAN" + std::to_string(i), *fan.MonitorBox, *fan.LowUpDown,
                         *fan.HighUpDown);
            const SensorRow& temperature = ChannelRows.Temperature[i];
            writeChannel("TEMP" + std::to_string(i), *temperature.MonitorBox,
                         *temperature.LowUpDown, *temperature.HighUpDown);
        }
        for (int i = 0; i < kVoltCount; ++i) {
            const SensorRow& voltage = ChannelRows.Voltage[i];
            writeChannel("VIN" + std::to_string(i), *voltage.MonitorBox, *voltage.LowUpDown,
                         *voltage.HighUpDown);
        }
        ini.WriteInteger("INTERVAL", "VALUE", UpDownInterval.Position());
        ini.WriteString("SYSTEM", "Action when exceed the limitations",
                        ComboBoxWarningDefault.Text());
        ini.WriteString("SYSTEM", "How to log", ComboBoxHowToLog.Text());
        // A password is kept exactly as typed, blanks at its ends and quotes included.
        ini.WriteString("SYSTEM", "PWD", ProfileValueFor(Settings.Password));
        ini.WriteBool("SYSTEM", "HiddenTrayIcon", CheckBoxHiddenTrayIcon.Checked());
        ini.WriteBool("SYSTEM", "SHUTDOWN", Settings.Shutdown);
        ini.WriteBool("SYSTEM", "CPUTOP80", CheckBoxCPUtoP80.Checked());
    }
    SetLaunchOnStartup(CheckBoxLaunch.Checked());
}

} // namespace monitor
