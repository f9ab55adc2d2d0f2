// Runs the INI rules table of the host tests against the real private-profile functions, so the
// simulated machine and Windows are shown to agree. Prints one line per disagreement and a
// closing "N passed, N failed" line; the exit code is the number of failures.
#include "os/win32/Win32System.h"
#include "ui/Exception.h"
#include "ui/IniFile.h"

#include "../host/ini_rules_run.h"
#include "../host/ini_rules_table.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

int passed = 0, failed = 0;

void Check(bool ok, const std::string& what) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

std::string Show(const char* text) {
    return text ? "\"" + std::string(text) + "\"" : "(missing)";
}

// Bytes outside printable ASCII as \xNN.
std::string Escaped(const std::string& text) {
    std::string shown;
    for (unsigned char c : text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        shown += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : std::string(hex);
    }
    return "\"" + shown + "\"";
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(stderr, "usage: ini_rules_probe [INIFILE]\n");
        return 2;
    }
    auto system = os::win32::CreateWin32System();
    std::string file = argc > 1 ? argv[1] : "C:\\ini_rules.ini";
    ui::TIniFile ini(*system, file);
    auto setValue = [&](const char* text) {
        system->WriteFile(file, text ? std::string("[VIN0]\r\nLOW LIMIT=") + text + "\r\n"
                                     : std::string("[VIN0]\r\nNAME=x\r\n"));
    };

    for (const auto& c : ini_rules::kIntegerCases) {
        setValue(c.text);
        int value = ini.ReadInteger("vin0", "low limit", c.defaultValue);
        Check(value == c.expected, "integer " + Show(c.text) + " gave " + std::to_string(value));
    }
    for (const auto& c : ini_rules::kBoolCases) {
        setValue(c.text);
        bool value = ini.ReadBool("VIN0", "LOW LIMIT", c.defaultValue);
        Check(value == c.expected, "boolean " + Show(c.text) + " gave " + std::to_string(value));
    }

    for (const auto& c : ini_rules::kProfileCases) {
        const std::string result = ini_rules::RunProfileCase(
            c, *system, file, [&](const std::string& bytes) { system->WriteFile(file, bytes); });
        Check(result == std::string(c.expected), std::string(c.what) + ": gave " + Escaped(result) +
                                                     ", expected " +
                                                     Escaped(std::string(c.expected)));
    }

    system->WriteFile(file, "[system]\r\nsn = 042\r\nPWD=" + std::string(2100, 'p') + "\r\n");
    Check(ini.ReadString("SYSTEM", "SN", "001") == "042", "text: case and blanks");
    Check(ini.ReadString("SYSTEM", "PWD", "") == std::string(2047, 'p'), "text: 2047 characters");
    Check(ini.ReadString("TEMP1", "NAME", "TEMP1") == "TEMP1", "text: default");

    system->DeleteFile(file);
    ini.WriteInteger("FAN0", "LOW LIMIT", -5);
    ini.WriteInteger("FAN0", "HIGH LIMIT", 0x1F4);
    ini.WriteBool("FAN0", "MONITOR", true);
    ini.WriteBool("SYSTEM", "SHUTDOWN", false);
    ini.WriteInteger("FAN0", "LOW LIMIT", 300);
    // Written values read back as written (the file's layout is the platform's own).
    Check(ini.ReadInteger("FAN0", "LOW LIMIT", 0) == 300, "write: integer replaced");
    Check(ini.ReadString("FAN0", "HIGH LIMIT", "") == "500", "write: integer in decimal");
    Check(ini.ReadString("FAN0", "MONITOR", "") == "1", "write: boolean as 1");
    Check(ini.ReadString("SYSTEM", "SHUTDOWN", "") == "0", "write: boolean as 0");
    Check(ini.SectionExists("fan0") && !ini.SectionExists("BIOSSET"), "section test");
    Check(ini.ReadSectionValues("FAN0") ==
              std::vector<std::string>{"LOW LIMIT=300", "HIGH LIMIT=500", "MONITOR=1"},
          "section lines in file order");

    // A file that cannot be created: the class library's write error.
    std::string unwritable = "C:\\no such folder\\board.ini";
    try {
        ui::TIniFile(*system, unwritable).WriteString("A", "B", "2");
        Check(false, "a write into a missing folder succeeded");
    } catch (const ui::Exception& e) {
        Check(e.Message() == "Unable to write to " + unwritable,
              "write error text: " + e.Message());
    }

    std::printf("%d passed, %d failed\n", passed, failed);
    return failed;
}
