// The settings loader: turns ORLO.INI and the board INI into the running monitor's settings and
// the state of its pages. Every control it changes goes through the control's own path, so the
// controls' handlers run while it loads (and save nothing, start-up not being complete).
#include "monitor/MainForm.h"
#include "monitor/SensorConversions.h"
#include "monitor/SystemHelpers.h"
#include "ui/Application.h"
#include "ui/IniFile.h"

#include <memory>

namespace monitor {

namespace {

// Letters a to z made capitals; every other byte stays.
std::string Capitalised(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// Leading and trailing blanks and control characters removed.
std::string Trimmed(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return text.substr(begin, end - begin);
}

std::string AlarmActionText(const std::string& value) {
    std::string upper = Capitalised(value);
    if (upper == "IGNORE") return "Ignore";
    if (upper == "DISABLE") return "Disable";
    if (upper == "SHUTDOWN") return "Shutdown";
    return "Ask Me";
}

std::string LoggingRuleText(const std::string& value) {
    static const char* const kRules[] = {"Automated",      "Log if alert",    "Every 1 minute",
                                         "Every 5 minute", "Every 10 minute", "Every 30 minute",
                                         "Every 1 hour"};
    std::string upper = Capitalised(value);
    for (const char* rule : kRules)
        if (upper == Capitalised(rule)) return rule;
    return "Log if alert";
}

// A temperature or voltage channel that the board does not have: its controls greyed.
void GreyOut(TForm1::SensorRow& row) {
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             row.MonitorBox, row.NameLabel, row.ValueBox, row.LowUpDown, row.LowEdit, row.HighEdit,
             row.HighUpDown})
        c->SetEnabled(false);
    row.ValueBox->SetColor(ui::clBtnFace);
    row.LowEdit->SetColor(ui::clBtnFace);
    row.HighEdit->SetColor(ui::clBtnFace);
}

std::string SectionName(const char* prefix, int index) {
    return prefix + std::to_string(index);
}

} // namespace

std::string TForm1::LookUpBoardIniName() const {
    const BoardIdBytes& id = program_.BoardId;
    std::string key;
    for (std::uint8_t byte : id) {
        if (byte == 0) break;
        key += static_cast<char>(byte);
    }
    ui::TIniFile index(program_.System, program_.ExeDir + "ORLO.INI");
    return index.ReadString("ORLO", key, "");
}

std::string TForm1::BoardIniNameForSave() const {
    std::string name = LookUpBoardIniName();
    return name.empty() ? BoardIniName : name;
}

void TForm1::LoadSettings() {
    MonitorProgram& p = program_;

    SystemLanguage = GetSystemLanguageName(p.System);
    ChannelRows = MakeChannelRows();
    for (bool& flag : p.IgnoreFlags)
        flag = false;

    BoardIniName = LookUpBoardIniName();
    if (BoardIniName.empty()) {
        App().ShowMessage("Unknow mainboard type!!");
        App().Terminate();
        return;
    }

    ui::TIniFile ini(p.System, BoardIniPath());
    SetCaption("Velmara (ORLO) V3.0.11." + ini.ReadString("SYSTEM", "SN", "001"));
    p.IsMiniPC = ini.ReadBool("SYSTEM", "MINIPC", false);

    // Sections in the order VIN0, FAN0, TEMP0, VIN1, FAN1, TEMP1, VIN2, FAN2, TEMP2, VIN3..VIN8.
    for (int i = 0; i < kVoltCount; ++i) {
        std::string section = SectionName("VIN", i);
        TVOLTAGE& v = Settings.Voltage[i];
        v.Enabled = ini.ReadBool(section, "ENABLED", true);
        v.Name = ini.ReadString(section, "NAME", section);
        v.Monitor = ini.ReadBool(section, "MONITOR", false);
        v.LowLimit = static_cast<std::uint32_t>(ini.ReadInteger(section, "LOW LIMIT", 0));
        v.HighLimit = static_cast<std::uint32_t>(ini.ReadInteger(section, "HIGH LIMIT", 0));
        v.R1 = static_cast<std::uint32_t>(ini.ReadInteger(section, "R1", 0));
        v.R2 = static_cast<std::uint32_t>(ini.ReadInteger(section, "R2", 0));
        v.Symbol = ini.ReadString(section, "SYMBOL", "+");
        v.Hint = ini.ReadString(section, "HINT", "");
        if (v.Name == "VCore") VCoreIndex = i;
        if (i >= kFanCount) continue;

        section = SectionName("FAN", i);
        TFAN& f = Settings.Fan[i];
        f.Enabled = ini.ReadBool(section, "ENABLED", true);
        f.Name = ini.ReadString(section, "NAME", section);
        f.Monitor = ini.ReadBool(section, "MONITOR", false);
        f.LowLimit = static_cast<std::uint32_t>(ini.ReadInteger(section, "LOW LIMIT", 0));
        f.HighLimit = static_cast<std::uint32_t>(ini.ReadInteger(section, "HIGH LIMIT", 0));
        f.Hint = ini.ReadString(section, "HINT", "");

        section = SectionName("TEMP", i);
        TTEMPERATURE& t = Settings.Temperature[i];
        t.Enabled = ini.ReadBool(section, "ENABLED", true);
        t.Name = ini.ReadString(section, "NAME", section);
        t.Monitor = ini.ReadBool(section, "MONITOR", false);
        t.LowLimit = ini.ReadInteger(section, "LOW LIMIT", 0);
        t.HighLimit = ini.ReadInteger(section, "HIGH LIMIT", 100);
        t.Hint = ini.ReadString(section, "HINT", "");
        if (t.Name == "CPU") CpuTempIndex = i;
    }

    // The changing handler refuses values outside 100..10000, leaving the form value.
    UpDownInterval.SetPosition(ini.ReadInteger("INTERVAL", "VALUE", 3000));

    TLOGO& logo = Settings.Logo;
    logo.Enabled = ini.ReadBool("LOGO", "ENABLED", false);
    logo.FileName = ini.ReadString("LOGO", "FILENAME", "");
    logo.Transparent = ini.ReadBool("LOGO", "TRANSPARENT", false);
    logo.Stretch = ini.ReadBool("LOGO", "STRETCH", false);
    logo.Center = ini.ReadBool("LOGO", "CENTER", false);
    if (!p.IsMiniPC) logo.Url = ini.ReadString("LOGO", "URL", "");
    PanelLogo.SetHeight(ini.ReadInteger("LOGO", "HEIGHT", 60) + 2);

    ComboBoxWarningDefault.SetText(
        AlarmActionText(ini.ReadString("SYSTEM", "Action when exceed the limitations", "")));
    ComboBoxHowToLog.SetText(LoggingRuleText(ini.ReadString("SYSTEM", "How to log", "")));
    CheckBoxHiddenTrayIcon.SetChecked(ini.ReadBool("SYSTEM", "HiddenTrayIcon", false));
    CheckBoxCPUtoP80.SetChecked(ini.ReadBool("SYSTEM", "CPUTOP80", true));
    Settings.Password = ini.ReadString("SYSTEM", "PWD", "");
    Settings.Nt4BatchFile = p.ExeDir + Trimmed(ini.ReadString("NT4 SHUTDOWN", "BATCH FILE", ""));
    Settings.Shutdown = ini.ReadBool("SYSTEM", "SHUTDOWN", false);

    ui::TPanel* fanPanels[] = {&PanelFan0, &PanelFan1, &PanelFan2};
    for (ui::TPanel* panel : fanPanels)
        panel->SetCaption("");
    for (ui::TPanel* panel : fanPanels)
        panel->BevelOuterNone = true;
    for (ui::TPanel* panel : fanPanels)
        panel->Align = ui::TPanel::TAlign::alTop;

    for (int k = 0; k < kFanCount; ++k) {
        const TFAN& f = Settings.Fan[k];
        FanRow& row = ChannelRows.Fan[k];
        row.NameLabel->SetCaption(FormatText("%s : ", f.Name.c_str()));
        row.MonitorBox->SetCaption(FormatText("%s : ", f.Name.c_str()));
        row.LowUpDown->SetPosition(static_cast<int>(f.LowLimit));
        row.HighUpDown->SetPosition(static_cast<int>(f.HighLimit));
        // Ticking runs the monitor box rule, now that both limits are in place.
        if (f.Monitor) row.MonitorBox->SetChecked(true);
        if (f.Enabled) {
            ShowLedNumber("green", 0, row.Digits);
        } else {
            for (ui::Control* c : std::initializer_list<ui::Control*>{
                     row.NameLabel, row.UnitLabel, row.MonitorBox, row.LowUpDown, row.LowEdit,
                     row.RangeLabel, row.HighEdit, row.HighUpDown})
                c->SetEnabled(false);
            row.LowEdit->SetColor(ui::clBtnFace);
            row.HighEdit->SetColor(ui::clBtnFace);
        }
    }

    for (int k = 0; k < kTempCount; ++k) {
        TTEMPERATURE& t = Settings.Temperature[k];
        SensorRow& row = ChannelRows.Temperature[k];
        if (t.Name == "Calorwand") {
            // The external probe: its picture stands in for the name label.
            for (char& c : t.Name)
                if (c == ' ') c = '\n';
            ImageCalorwand.SetVisible(true);
            row.NameLabel->SetVisible(false);
            row.MonitorBox->SetFontColor(ui::clBlue);
            row.MonitorBox->SetCaption(FormatText("%s : ", "Calorwand"));
        } else {
            row.MonitorBox->SetCaption(FormatText("%s : ", t.Name.c_str()));
        }
        row.NameLabel->SetCaption(FormatText("%s : ", t.Name.c_str()));
        row.ValueBox->SetLeft(row.NameLabel->Left() + row.NameLabel->Width() + 2);
        row.ValueBox->SetText(FormatTemperatureText(0, SystemLanguage));
        // Through 50 and 51 first: the handler then has run for the final position, and a
        // refused limit leaves the up-down at 51.
        row.LowUpDown->SetPosition(50);
        row.HighUpDown->SetPosition(50);
        row.LowUpDown->SetPosition(51);
        row.HighUpDown->SetPosition(51);
        row.LowUpDown->SetPosition(t.LowLimit);
        row.HighUpDown->SetPosition(t.HighLimit);
        if (t.Monitor) row.MonitorBox->SetChecked(true);
        if (!t.Enabled) GreyOut(row);
    }

    for (int k = 0; k < kVoltCount; ++k) {
        const TVOLTAGE& v = Settings.Voltage[k];
        SensorRow& row = ChannelRows.Voltage[k];
        row.NameLabel->SetCaption(FormatText("%s :", v.Name.c_str()));
        row.MonitorBox->SetCaption(FormatText("%s :", v.Name.c_str()));
        row.ValueBox->SetText("0 V");
        row.LowUpDown->SetPosition(static_cast<int>(v.LowLimit));
        row.HighUpDown->SetPosition(static_cast<int>(v.HighLimit));
        if (v.Monitor) row.MonitorBox->SetChecked(true);
        if (!v.Enabled) GreyOut(row);
        if (k < kFanCount) p.FanFilters[k].Restart();
    }

    p.CpuTempAverage = std::make_unique<MovingAverage>();
    p.CpuTempAverage->Init();

    // The Setup page's fonts keep their heights but are recorded at 96 pixels per inch.
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &GroupBox6, &cbExternalSpeak, &cbSysSpeak, &EditReflashInterval,
             &CheckBoxHiddenTrayIcon, &CheckBoxLaunch, &BtnViewLogFile, &Button2, &Label27,
             &Label28, &Label30})
        c->SetFontPixelsPerInch(96);
    ComboBoxWarningDefault.CanvasFontPixelsPerInch = 96;
    ComboBoxHowToLog.CanvasFontPixelsPerInch = 96;

    if (!HasGhostMonitor(p.OSName)) {
        for (ui::TCheckBox* box :
             {&CheckBoxShowTransparentForm, &ckTemperature, &ckLoading, &ckVCore}) {
            box->SetChecked(false);
            box->SetEnabled(false);
        }
    } else {
        // Each box that becomes ticked writes its key back.
        ckTemperature.SetEnabled(true);
        ckTemperature.SetChecked(ini.ReadBool("SYSTEM", "TEMPERTURE", true));
        ckLoading.SetEnabled(true);
        ckLoading.SetChecked(ini.ReadBool("SYSTEM", "USAGE", true));
        ckVCore.SetEnabled(true);
        ckVCore.SetChecked(ini.ReadBool("SYSTEM", "VCORE", true));
    }

    p.SmartFanEnabled = ini.ReadBool("SYSTEM", "SMARTFAN", false);
    if (p.ChipId == kChip92 && p.SmartFanEnabled)
        SmartFanStartup(ini);
    else
        tabFintekSmartFan.SetTabVisible(false);
}

} // namespace monitor
