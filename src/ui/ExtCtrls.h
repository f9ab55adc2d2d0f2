// Panels, bevels, images and window timers.
#pragma once

#include "ui/Control.h"

#include <cstdint>
#include <string>

namespace ui {

class TPanel : public Control {
  public:
    using Control::Control;
    enum class TAlign { alNone, alTop, alBottom, alClient };
    TAlign Align = TAlign::alNone;
    bool BevelOuterNone = false;
};

class TBevel : public Control {
  public:
    using Control::Control;
};

// A picture loaded from a file or from the program's bitmap resources.
struct TPicture {
    enum class Kind { None, File, Resource };
    Kind kind = Kind::None;
    std::string source; // file path or resource name
};

class TImage : public Control {
  public:
    using Control::Control;
    const TPicture& Picture() const { return picture_; }
    // Loads a picture file; the format follows the extension (bitmap, icon, metafile, JPEG).
    // Raises ui::Exception when the file cannot be read or its format is unknown.
    void LoadFromFile(const std::string& path);
    // Loads a bitmap resource of the program's own module, every call anew.
    void LoadBitmapResource(const std::string& name);
    void Repaint();
    int RepaintCount() const { return repaints_; }
    bool Transparent = false;
    bool Stretch = false;
    bool Center = false;
    bool AutoSize = false;

  private:
    TPicture picture_;
    int repaints_ = 0;
};

// A window timer on the program's one thread: fires inside every loop, modal ones included.
class TTimer : public Component {
  public:
    TTimer(Form* owner, std::string name, std::uint32_t interval = 1000, bool enabled = true);
    ~TTimer() override;
    std::uint32_t Interval() const { return interval_; }
    // A different interval restarts the countdown; the same value changes nothing.
    void SetInterval(std::uint32_t interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    TNotifyEvent OnTimer;

  private:
    void Update();
    std::uint32_t interval_;
    bool enabled_;
    TimerId id_ = 0;
};

} // namespace ui
