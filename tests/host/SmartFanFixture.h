// Scenarios of the smart fan: a board INI with the smart fan on (chip 0x92, the simulated
// default), the chip's registers scripted, and the register requests the monitor made.
#pragma once

#include "SimFixture.h"

#include "monitor/Driver.h"
#include "ui/Application.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// A register write or read the monitor sent: {register, value} (the value read for a read).
using RegisterAccess = std::pair<int, int>;

struct SmartFanSim : SimFixture {
    // A scenario board INI with [SYSTEM] SMARTFAN=1 and these keys (a [FINTEK] key among them
    // keeps the start-up from asking whether to load the BIOS's configuration).
    void UseIni(std::vector<IniKey> keys) {
        keys.insert(keys.begin(), {"SYSTEM", "SMARTFAN", "1"});
        WriteProgramFile("A920.INI", ScenarioBoardIni(keys));
    }

    // Sets chip registers as the BIOS left them.
    void SetRegisters(const std::map<int, int>& registers) {
        for (auto [reg, value] : registers)
            machine->Board().registers[reg] = static_cast<unsigned char>(value);
    }
    int Register(int reg) const { return machine->Board().registers[reg]; }

    // Marks the driver requests made so far: Writes(mark) and Reads(mark) give the later ones.
    std::size_t Mark() const { return machine->DriverRequests().size(); }

    // Register writes sent after `since`.
    std::vector<RegisterAccess> Writes(std::size_t since = 0) const {
        std::vector<RegisterAccess> writes;
        const auto& requests = machine->DriverRequests();
        for (std::size_t i = since; i < requests.size(); ++i)
            if (requests[i].code == monitor::IOCTL_MBDRVR_SMART_FAN_SET)
                writes.push_back({requests[i].input.at(0), requests[i].input.at(1)});
        return writes;
    }
    // Register reads (successful ones with their value, failed ones with -1) after `since`.
    std::vector<RegisterAccess> Reads(std::size_t since = 0) const {
        std::vector<RegisterAccess> reads;
        const auto& requests = machine->DriverRequests();
        for (std::size_t i = since; i < requests.size(); ++i)
            if (requests[i].code == monitor::IOCTL_MBDRVR_SMART_FAN_PRESTATE)
                reads.push_back(
                    {requests[i].input.at(0), requests[i].ok ? requests[i].output.at(0) : -1});
        return reads;
    }
    // The writes of one register, in order.
    std::vector<int> WritesOf(int reg, std::size_t since = 0) const {
        std::vector<int> values;
        for (auto [r, value] : Writes(since))
            if (r == reg) values.push_back(value);
        return values;
    }
    // The value last written to `key` of [FINTEK] in the board INI, "" when never.
    std::string LastFintek(const std::string& key) const {
        std::string found;
        for (const std::string& write : IniWrites("A920.INI"))
            if (write.rfind("[FINTEK] " + key + "=", 0) == 0)
                found = write.substr(write.find('=') + 1);
        return found;
    }
    // The [FINTEK] keys written so far.
    std::size_t FintekWrites() const {
        std::size_t count = 0;
        for (const std::string& write : IniWrites("A920.INI"))
            if (write.rfind("[FINTEK] ", 0) == 0) ++count;
        return count;
    }
};

// Writes as text, for readable failures: "A0=46 A1=2E".
inline std::string Hex(const std::vector<RegisterAccess>& accesses) {
    std::string text;
    char part[16];
    for (auto [reg, value] : accesses) {
        std::snprintf(part, sizeof part, "%s%02X=%02X", text.empty() ? "" : " ", reg, value & 0xFF);
        text += part;
    }
    return text;
}
