// The warning window: shows the current limit alarm and offers Ignore, Disable and ShutDown.
#pragma once

#include "monitor/MonitorProgram.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

#include <cstdint>
#include <string>

namespace monitor {

// The channel keys of the alarm, in their fixed order: "fan0".."fan2", "temp0".."temp2",
// "vin0".."vin8". The same order indexes IgnoreFlags and the monitor boxes.
extern const char* const kChannelKeys[kChannelCount];
// The position of `key` among kChannelKeys (exact comparison), or -1.
int ChannelKeyIndex(const std::string& key);

// The command that runs the NT4 shutdown batch file: the quoted batch path, the path's drive
// and the short form of its folder (the long form when no short form can be had).
std::string Nt4ShutdownCommand(os::System& system, const std::string& batchPath);

class TFormWarning : public ui::Form {
  public:
    TFormWarning(ui::Application& app, MonitorProgram& program);

    ui::TLabel Label1;
    ui::TLabel LabelMsg;
    ui::TLabel LabelIgnore;
    ui::TLabel Label4;
    ui::TLabel Label5;
    ui::TButton IgnoreButton;
    ui::TButton DisalbeButton;
    ui::TButton ShutdownButton;
    ui::TLabel LabelDateTime;
    ui::TTimer Timer1;

    bool ExternalSpeaker = false;
    bool SystemSpeaker = false;

    // The three steps; each works with no sender and whether or not the window is shown.
    void IgnoreButtonClick(ui::Component* sender);
    void ShutdownButtonClick(ui::Component* sender);
    void DisalbeButtonClick(ui::Component* sender);
    // Start and stop the alarm sound and tones.
    void FormHide(ui::Component* sender);
    void FormActivate(ui::Component* sender);
    // One tone step.
    void Timer1Timer(ui::Component* sender);

    void SpeakerTone(std::uint8_t high, std::uint8_t low);
    void SpeakerOff();

    // Which of the two tones comes next: 0 the high one. The window lives for the whole run,
    // so this carries over from one showing to the next; it is never reset.
    std::uint8_t ToneToggle = 0;

  private:
    void StartSound();
    void StopSound();

    MonitorProgram& program_;
};

} // namespace monitor
