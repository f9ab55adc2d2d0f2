// The machine's record of a program that runs side by side with others (SimPrograms.cpp).
#pragma once

#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace os::sim {

struct SimMachine::Baton {
    std::mutex mutex;
    std::condition_variable changed;
};

struct SimMachine::Runner {
    enum class State { Ready, Sleeping, WaitingMessage, WaitingReply, Done };
    struct Delivery {
        WindowSink* window;
        std::uint32_t msg;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        Runner* sender;
        bool ends; // the system ends the receiver once its windows have answered
    };
    std::string exePath;
    std::vector<std::string> args;
    ProgramMain main;
    std::unique_ptr<SimProcess> process;
    std::thread thread;
    State state = State::Ready;
    std::uint32_t wake = 0;
    std::deque<Delivery> inbox;
    int pendingReplies = 0;
    std::vector<std::intptr_t> answers; // to the message this program sends

    std::exception_ptr error;
};

} // namespace os::sim
