// The limit alarm and the warning close.
#include "monitor/AttentionDialog.h"
#include "monitor/MainForm.h"
#include "monitor/SystemHelpers.h"
#include "monitor/WarningForm.h"
#include "ui/Application.h"
#include "ui/Exception.h"

#include <optional>

namespace monitor {

namespace {

std::string UpperCased(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// The channel's name and the message format of its kind, for a channel key's position.
struct AlarmTexts {
    std::string name;
    const char* format;
};

AlarmTexts TextsOf(const _TORLO& settings, int index) {
    if (index < kFanCount) return {settings.Fan[index].Name, "Your '%s' Speed exceed the limit"};
    index -= kFanCount;
    if (index < kTempCount)
        return {settings.Temperature[index].Name, "Your '%s' Temperature exceed the limit"};
    index -= kTempCount;
    return {settings.Voltage[index].Name, "Your '%s' Voltage exceed the limit"};
}

std::string ActionText(const char* word) {
    return FormatText("Action when exceed the limitations: %s\n", word);
}

} // namespace

void TForm1::RaiseLimitAlarm(const std::string& key) {
    MonitorProgram& p = program_;
    TFormWarning* warning = p.FormWarning;
    // An alarm while either window is up is dropped without trace.
    if (p.OKBottomDlgAttention && p.OKBottomDlgAttention->Visible()) return;
    if (!warning || warning->Visible()) return;

    TrayIcon1.Restore();
    p.AlarmChannel = key;

    std::string message, ignoreText;
    int index = ChannelKeyIndex(key);
    if (index >= 0) {
        AlarmTexts texts = TextsOf(Settings, index);
        message = FormatText(texts.format, texts.name.c_str());
        ignoreText = FormatText("Ignore '%s' warning message", texts.name.c_str());
    }
    warning->LabelDateTime.SetCaption(p.System.FormatLocalDateTime(p.System.GetLocalTime()));
    warning->LabelMsg.SetCaption(message);
    warning->LabelIgnore.SetCaption(ignoreText);

    // A failing save inside a step is shown in the exception box; the alarm still goes on to
    // its next step and its log entry.
    ui::Application& app = App();
    std::string action = UpperCased(ComboBoxWarningDefault.Text());
    std::string actionText;
    if (action == "IGNORE") {
        actionText = ActionText("Ignore");
        app.Guard([&] { warning->IgnoreButtonClick(nullptr); });
    } else if (action == "DISABLE") {
        actionText = ActionText("Disable");
        app.Guard([&] { warning->DisalbeButtonClick(nullptr); });
    } else if (action == "SHUTDOWN") {
        actionText = ActionText("Shutdown");
        Settings.Shutdown = true;
        // A failed save is shown only once the shutdown is asked for: closing its box would
        // activate the main window, whose activation shows the attention dialog for the flag
        // just set, and the shutdown would wait for someone to answer it.
        std::optional<ui::Exception> saveError;
        try {
            SaveSettings();
        } catch (const ui::Exception& e) {
            saveError = e;
        }
        app.Guard([&] { warning->ShutdownButtonClick(nullptr); });
        if (saveError) app.ShowException(*saveError);
    } else {
        actionText = ActionText("Ask Me");
        warning->ShowModal();
    }
    app.Guard([&] { AppendLogLine(FormatText("%s , %s\n", message.c_str(), actionText.c_str())); });
}

void CloseWarning(MonitorProgram& program) {
    TFormWarning* warning = program.FormWarning;
    if (!warning || !warning->Visible()) return;
    program.AlarmChannel.clear();
    warning->Close();
}

} // namespace monitor
