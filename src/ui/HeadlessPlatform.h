// The control library's headless side: the loop on the machine's virtual time, window timers in
// time order, and a scripted user who acts at given times or when a condition holds and answers
// message boxes.
#pragma once

#include "os/System.h"
#include "ui/Platform.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ui {

struct ShownMessageBox {
    std::uint32_t time;
    std::string text;
    std::string caption;
    std::uint32_t type;
    int answer;
    std::string owner; // the owning form's name; empty for the active window
};

class HeadlessPlatform : public Platform {
  public:
    // Virtual time comes from the machine's tick count; waiting sleeps on the machine.
    explicit HeadlessPlatform(os::System& system);

    // --- the scripted user ----------------------------------------------------------------
    // Runs `action` as user input at tick count `time` (or at once when it has passed).
    void At(std::uint32_t time, std::function<void()> action, std::string what = "");
    // Runs `action` once, `delay` ms after `condition` is first seen true.
    void When(std::function<bool()> condition, std::function<void()> action,
              std::uint32_t delay = 0, std::string what = "");
    // How the user answers boxes whose text contains `textPart` (empty: any box): the answer,
    // after `delay` ms during which the loop runs. Later rules win. Without a rule, a box is
    // answered at once with its default button.
    void AnswerBoxes(const std::string& textPart, int answer, std::uint32_t delay = 0);

    const std::vector<ShownMessageBox>& MessageBoxes() const { return boxes_; }
    std::vector<std::string> MessageTexts() const;
    // A run of a program longer than this much virtual time fails with LoopStuck: a loop that
    // only timers keep going (a modal window nothing closes) would otherwise spin for ever.
    static constexpr std::uint32_t kDefaultVirtualTimeLimitMs = 3u * 24 * 3600 * 1000;
    std::uint32_t VirtualTimeLimitMs = kDefaultVirtualTimeLimitMs;

    // Called for every trace line (the run's transcript).
    std::function<void(const std::string&)> OnTrace;

    // --- Platform ---------------------------------------------------------------------------
    bool DispatchOne() override;
    void Wait(const std::uint32_t* deadline) override;
    std::uint32_t Now() override;
    TimerId StartTimer(std::uint32_t interval, std::function<void()> callback) override;
    void KillTimer(TimerId id) override;
    int MessageBox(const std::string& text, const std::string& caption, std::uint32_t type,
                   const Form* owner,
                   const std::function<void(const std::function<bool()>&)>& runModal) override;
    std::unique_ptr<ControlPeer> CreatePeer(Component&) override { return nullptr; }
    void Trace(const std::string& line) override;

  private:
    struct Timer {
        TimerId id;
        std::uint32_t interval;
        std::uint32_t due;
        std::function<void()> callback;
    };
    struct Action {
        std::uint32_t time;
        std::uint64_t seq;
        std::function<void()> action;
        std::string what;
    };
    struct Watch {
        std::function<bool()> condition;
        std::function<void()> action;
        std::uint32_t delay;
        std::string what;
    };
    struct BoxRule {
        std::string textPart;
        int answer;
        std::uint32_t delay;
    };
    static bool Reached(std::uint32_t now, std::uint32_t due) {
        return static_cast<std::int32_t>(now - due) >= 0;
    }
    void CheckWatches();

    os::System& system_;
    std::uint32_t start_;
    std::vector<Timer> timers_;
    std::vector<Action> actions_;
    std::vector<Watch> watches_;
    std::vector<BoxRule> boxRules_;
    std::vector<ShownMessageBox> boxes_;
    TimerId nextTimerId_ = 1;
    std::uint64_t nextSeq_ = 0;
};

} // namespace ui
