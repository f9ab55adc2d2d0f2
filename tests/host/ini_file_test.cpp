#include "ui/IniFile.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ini_rules_run.h"
#include "ini_rules_table.h"
#include "os/sim/ProfileText.h"
#include "ui/Exception.h"

namespace {

// A machine that offers only its private-profile service, over files held in memory. The files
// are reached by the exact name the caller gives, so a test sees which name was used.
class ProfileOnlySystem : public os::System {
  public:
    std::map<std::string, std::string> files;
    bool failWrites = false;

    std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue,
                                        const std::string& file) override {
        return os::sim::ProfileGetString(Content(file), section, key, defaultValue);
    }
    bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& file) override {
        if (failWrites) return false;
        return os::sim::ProfileSetString(files[file], section, key, value);
    }
    std::vector<std::string> GetPrivateProfileSection(const std::string& section,
                                                      const std::string& file) override {
        return os::sim::ProfileSectionLines(Content(file), section);
    }
    std::vector<std::string> GetPrivateProfileSectionNames(const std::string& file) override {
        return os::sim::ProfileSectionNames(Content(file));
    }

    std::string GetModuleFileName() override { return std::string(); }
    std::vector<std::string> GetArguments() override { return {}; }
    std::uint32_t GetLastError() override { return 0; }
    void SetLastError(std::uint32_t) override {}
    void CloseHandle(os::Handle) override {}
    os::Handle CreateMutex(bool, const std::string&) override { return os::kNoHandle; }
    void ReleaseMutex(os::Handle) override {}
    std::uint32_t GetTickCount() override { return 0; }
    void Sleep(std::uint32_t) override {}
    std::int32_t Time() override { return 0; }
    os::LocalTime GetLocalTime() override { return {}; }
    std::string FormatLocalDateTime(const os::LocalTime&) override { return std::string(); }
    bool GetVersionEx(os::VersionInfo&) override { return false; }
    std::uint32_t GetSystemDefaultLCID() override { return 0; }
    int ScreenPixelsPerInch() override { return 96; }
    bool GetThreadSelectorEntry(std::uint32_t, os::LdtEntry&) override { return false; }
    std::uint8_t ReadSegmentByte(std::uint32_t, std::uint32_t) override { return 0; }
    bool FileExists(const std::string&) override { return false; }
    bool DirectoryExists(const std::string&) override { return false; }
    bool ReadFile(const std::string&, std::string&) override { return false; }
    bool WriteFile(const std::string&, const std::string&) override { return false; }
    bool AppendFile(const std::string&, const std::string&) override { return false; }
    bool DeleteFile(const std::string&) override { return false; }
    bool MoveFileReplace(const std::string&, const std::string&) override { return false; }
    bool CreateDirectory(const std::string&) override { return false; }
    bool SetCurrentDirectory(const std::string&) override { return false; }
    bool RegCreateKey(os::RegRoot, const std::string&) override { return false; }
    bool RegKeyExists(os::RegRoot, const std::string&) override { return false; }
    bool RegSetString(os::RegRoot, const std::string&, const std::string&,
                      const std::string&) override {
        return false;
    }
    bool RegSetDword(os::RegRoot, const std::string&, const std::string&, std::uint32_t) override {
        return false;
    }
    bool RegGetString(os::RegRoot, const std::string&, const std::string&, std::string&) override {
        return false;
    }
    bool RegGetDword(os::RegRoot, const std::string&, const std::string&, std::uint32_t&) override {
        return false;
    }
    bool RegDeleteValue(os::RegRoot, const std::string&, const std::string&) override {
        return false;
    }
    bool RegDeleteKey(os::RegRoot, const std::string&) override { return false; }
    std::uint32_t RegisterWindowMessage(const std::string&) override { return 0; }
    void BroadcastMessage(std::uint32_t, std::uintptr_t, std::intptr_t) override {}
    void AttachWindow(os::WindowSink*) override {}
    void DetachWindow(os::WindowSink*) override {}
    bool PlaySound(const char*, std::uint32_t) override { return false; }
    bool ExitWindowsEx(std::uint32_t, std::uint32_t) override { return false; }
    bool OpenProcessToken(os::Handle&) override { return false; }
    bool LookupPrivilegeValue(const std::string&, std::uint64_t&) override { return false; }
    bool AdjustTokenPrivilege(os::Handle, std::uint64_t, bool) override { return false; }
    std::uint32_t WinExec(const std::string&, std::uint32_t) override { return 0; }
    std::uint32_t GetShortPathName(const std::string&, std::string&, std::uint32_t) override {
        return 0;
    }
    std::uintptr_t ShellExecute(os::Handle, const std::string&, const std::string&,
                                const std::string&, const std::string&, int) override {
        return 0;
    }
    os::Handle LoadLibrary(const std::string&) override { return os::kNoHandle; }
    std::uintptr_t GetProcAddress(os::Handle, const std::string&) override { return 0; }
    void FreeLibrary(os::Handle) override {}
    void CallExport(std::uintptr_t, const std::vector<ExportArgument>&) override {}
    os::Handle OpenDevice(const std::string&) override { return os::kInvalidHandle; }
    bool DeviceIoControl(os::Handle, std::uint32_t, const void*, std::uint32_t, void*,
                         std::uint32_t, std::uint32_t*) override {
        return false;
    }
    // Installer services.
    std::string GetWindowsDirectory() override { return std::string(); }
    std::string GetTempPath() override { return std::string(); }
    bool CopyFile(const std::string&, const std::string&, bool) override { return false; }
    std::uint32_t GetFileAttributes(const std::string&) override {
        return os::kInvalidFileAttributes;
    }
    bool SetFileAttributes(const std::string&, std::uint32_t) override { return false; }
    bool RemoveDirectory(const std::string&) override { return false; }
    std::uint32_t GetLogicalDrives() override { return 0; }
    std::uint32_t GetDriveType(const std::string&) override { return os::kDriveNoRootDir; }
    std::string GetVolumeLabel(const std::string&) override { return std::string(); }
    bool ListFolders(const std::string&, std::vector<std::string>&) override { return false; }
    bool IsWow64Process(bool&) override { return false; }
    os::Handle OpenSCManager(std::uint32_t) override { return os::kNoHandle; }
    void CloseServiceHandle(os::Handle) override {}
    bool GetCommonDesktopFolder(std::string&) override { return false; }
    bool CreateShellLink(const os::ShellLink&, const std::string&) override { return false; }
    void WaitForMessage(std::uint32_t) override {}
    bool AnswerSentMessages() override { return false; }

  private:
    std::string Content(const std::string& file) const {
        const auto it = files.find(file);
        return it == files.end() ? std::string() : it->second;
    }
};

const char* const kBoardFile = "C:\\Program Files\\ORLO\\P4X.INI";

class IniFileTest : public ::testing::Test {
  protected:
    ProfileOnlySystem system;
    ui::TIniFile ini{system, kBoardFile};

    void SetValue(const char* text) {
        system.files[kBoardFile] =
            text ? std::string("[VIN0]\r\nLOW LIMIT=") + text + "\r\n" : "[VIN0]\r\nNAME=x\r\n";
    }
};

TEST_F(IniFileTest, IntegerRules) {
    for (const ini_rules::IntegerCase& c : ini_rules::kIntegerCases) {
        SetValue(c.text);
        EXPECT_EQ(ini.ReadInteger("vin0", "low limit", c.defaultValue), c.expected)
            << (c.text ? c.text : "(missing)");
    }
}

TEST_F(IniFileTest, BooleanRules) {
    for (const ini_rules::BoolCase& c : ini_rules::kBoolCases) {
        SetValue(c.text);
        EXPECT_EQ(ini.ReadBool("VIN0", "LOW LIMIT", c.defaultValue), c.expected)
            << (c.text ? c.text : "(missing)") << " default " << c.defaultValue;
    }
}

// Files a user's editor may leave (a UTF-8 mark, NUL bytes, lone CR line ends) and names a file
// cannot hold as written: the simulated profile service does what the real one does.
TEST_F(IniFileTest, ProfileCasesAgreeWithTheRealFunctions) {
    for (const ini_rules::ProfileCase& c : ini_rules::kProfileCases) {
        const std::string result =
            ini_rules::RunProfileCase(c, system, kBoardFile, [&](const std::string& bytes) {
                system.files[kBoardFile] = bytes;
            });
        EXPECT_EQ(result, std::string(c.expected)) << c.what;
    }
}

TEST_F(IniFileTest, StringsReadThroughTheProfileService) {
    EXPECT_EQ(ini.ReadString("TEMP1", "NAME", "TEMP1"), "TEMP1"); // no file yet
    system.files[kBoardFile] = "[system]\r\nsn = 042\r\nPWD=" + std::string(2100, 'p') + "\r\n";
    EXPECT_EQ(ini.ReadString("SYSTEM", "SN", "001"), "042");
    EXPECT_EQ(ini.ReadString("SYSTEM", "PWD", ""), std::string(2047, 'p'));
    EXPECT_EQ(ini.ReadString("TEMP1", "NAME", "TEMP1"), "TEMP1");
}

TEST_F(IniFileTest, EveryAccessGoesToTheFile) {
    system.files[kBoardFile] = "[INTERVAL]\r\nVALUE=3000\r\n";
    EXPECT_EQ(ini.ReadInteger("INTERVAL", "VALUE", 0), 3000);
    system.files[kBoardFile] = "[INTERVAL]\r\nVALUE=500\r\n";
    EXPECT_EQ(ini.ReadInteger("INTERVAL", "VALUE", 0), 500);
    ui::TIniFile other(system, kBoardFile);
    other.WriteInteger("INTERVAL", "VALUE", 1500);
    EXPECT_EQ(ini.ReadInteger("INTERVAL", "VALUE", 0), 1500);
    EXPECT_EQ(system.files.size(), 1u);
}

TEST_F(IniFileTest, WritesCreateTheFileAndUseDecimalAndDigits) {
    ini.WriteInteger("FAN0", "LOW LIMIT", -5);
    ini.WriteInteger("FAN0", "HIGH LIMIT", 0x1F4);
    ini.WriteBool("FAN0", "MONITOR", true);
    ini.WriteBool("SYSTEM", "SHUTDOWN", false);
    ini.WriteString("SYSTEM", "How to log", " Every 5 minute");
    EXPECT_EQ(system.files[kBoardFile],
              "[FAN0]\r\nLOW LIMIT=-5\r\nHIGH LIMIT=500\r\nMONITOR=1\r\n"
              "\r\n[SYSTEM]\r\nSHUTDOWN=0\r\nHow to log= Every 5 minute\r\n");
}

TEST_F(IniFileTest, FailedWriteRaisesTheLibraryError) {
    system.files[kBoardFile] = "[FAN0]\r\nMONITOR=0\r\n";
    system.failWrites = true;
    for (int kind = 0; kind < 3; ++kind) {
        try {
            if (kind == 0)
                ini.WriteString("FAN0", "NAME", "CPU Fan");
            else if (kind == 1)
                ini.WriteInteger("FAN0", "LOW LIMIT", 1000);
            else
                ini.WriteBool("FAN0", "MONITOR", true);
            ADD_FAILURE() << "write " << kind << " did not throw";
        } catch (const ui::Exception& e) {
            EXPECT_EQ(e.Message(), std::string("Unable to write to ") + kBoardFile);
        }
    }
    EXPECT_EQ(system.files[kBoardFile], "[FAN0]\r\nMONITOR=0\r\n");
}

TEST_F(IniFileTest, SectionsAndTheirLines) {
    system.files[kBoardFile] = "[ORLO]\r\nP4X800 = P4X.INI\r\n;old=OLD.INI\r\nK8T=K8T.INI\r\n"
                               "[EMPTY]\r\n; only a comment\r\n\r\n[FINTEK]\r\nPWMDUTY=100\r\n";
    EXPECT_TRUE(ini.SectionExists("orlo"));
    EXPECT_TRUE(ini.SectionExists("FINTEK"));
    EXPECT_FALSE(ini.SectionExists("EMPTY"));
    EXPECT_FALSE(ini.SectionExists("BIOSSET"));
    EXPECT_EQ(ini.ReadSectionValues("ORLO"),
              (std::vector<std::string>{"P4X800=P4X.INI", "K8T=K8T.INI"}));
    EXPECT_TRUE(ini.ReadSectionValues("BIOSSET").empty());
}

} // namespace
