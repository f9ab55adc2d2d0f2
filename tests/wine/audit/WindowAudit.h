// Checks the real windows of a program against the model of each window, in one state of the
// program: every visible control lies inside its parent's client area, nothing drawn above it
// covers its text, its text fits its client area in the font its window draws with, an edit
// shows its first character, and its visibility, enabling, tab stop, read-only state and font are
// the model's. Each visible window is saved as a picture of what the screen shows.
#pragma once

#include "ui/Application.h"
#include "ui/Form.h"

#include <functional>
#include <string>
#include <vector>

namespace audit {

class WindowAudit {
  public:
    // Pictures go to `pictureFolder` (a Windows path), as <state>-<form>.bmp.
    explicit WindowAudit(std::string pictureFolder) : pictureFolder_(std::move(pictureFolder)) {}

    // Checks every form of `app` that shows now, under the name `state`. Prints one line per
    // failed check ("FAIL <state> <form>.<control>: ...") and one line per window
    // ("ok|FAIL <state> <form>: <n> controls, <m> failures").
    void Check(ui::Application& app, const std::string& state);
    // Checks one form alone: a modal window over a main window checked before.
    void Check(ui::Form& form, const std::string& state);

    int Failures() const { return failures_; }
    // A failed check of the run itself (a window or page that did not open).
    void Fail(const std::string& where, const std::string& what);

  private:
    void CheckForm(ui::Form& form, const std::string& state);

    std::string pictureFolder_;
    int failures_ = 0;
    int formFailures_ = 0;
};

// The steps of a scripted run, one per tick of a window timer: the timer keeps firing inside the
// modal windows a step opens, so the next steps run (and can close them) there.
class Script {
  public:
    Script(ui::Application& app, unsigned interval);
    ~Script();
    // A step; a step that opens a modal window calls Release() first, so that the next steps
    // run inside its loop.
    void Add(std::function<void()> step) { steps_.push_back(std::move(step)); }
    void Release() { busy_ = false; }
    // A step that waits: the next steps run once `done` holds.
    void WaitUntil(std::function<bool()> done);
    bool Done() const { return next_ >= steps_.size() && !busy_; }

  private:
    void Tick();
    ui::Application& app_;
    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
    bool busy_ = false;
    unsigned timer_ = 0;
};

} // namespace audit
