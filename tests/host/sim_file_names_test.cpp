// Names too long for the file system on the simulated machine: every file service fails for a
// path with a name over 255 bytes, as on Windows, and none throws; a name of 255 bytes works.
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"

#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct FileCall {
    const char* name;
    // Makes the call on `path`; true when it failed (or found nothing) as it should.
    std::function<bool(os::System&, const std::string& path)> fails;
};

const char* const kGood = "C:\\good.txt";

const std::vector<FileCall>& FileCalls() {
    static const std::vector<FileCall> calls = {
        {"FileExists", [](os::System& s, const std::string& p) { return !s.FileExists(p); }},
        {"DirectoryExists",
         [](os::System& s, const std::string& p) { return !s.DirectoryExists(p); }},
        {"GetFileAttributes",
         [](os::System& s, const std::string& p) {
             return s.GetFileAttributes(p) == os::kInvalidFileAttributes;
         }},
        {"SetFileAttributes",
         [](os::System& s, const std::string& p) {
             return !s.SetFileAttributes(p, os::kFileAttributeNormal);
         }},
        {"ReadFile",
         [](os::System& s, const std::string& p) {
             std::string bytes;
             return !s.ReadFile(p, bytes);
         }},
        {"WriteFile", [](os::System& s, const std::string& p) { return !s.WriteFile(p, "x"); }},
        {"AppendFile", [](os::System& s, const std::string& p) { return !s.AppendFile(p, "x"); }},
        {"DeleteFile", [](os::System& s, const std::string& p) { return !s.DeleteFile(p); }},
        {"MoveFileReplace from",
         [](os::System& s, const std::string& p) { return !s.MoveFileReplace(p, kGood); }},
        {"MoveFileReplace to",
         [](os::System& s, const std::string& p) { return !s.MoveFileReplace(kGood, p); }},
        {"CopyFile from",
         [](os::System& s, const std::string& p) { return !s.CopyFile(p, kGood, false); }},
        {"CopyFile to",
         [](os::System& s, const std::string& p) { return !s.CopyFile(kGood, p, false); }},
        {"CreateDirectory",
         [](os::System& s, const std::string& p) { return !s.CreateDirectory(p); }},
        {"RemoveDirectory",
         [](os::System& s, const std::string& p) { return !s.RemoveDirectory(p); }},
        {"ListFolders",
         [](os::System& s, const std::string& p) {
             std::vector<std::string> names;
             return !s.ListFolders(p, names);
         }},
        {"GetShortPathName",
         [](os::System& s, const std::string& p) {
             std::string shortPath;
             return s.GetShortPathName(p, shortPath, 260) == 0;
         }},
        {"GetPrivateProfileString",
         [](os::System& s, const std::string& p) {
             return s.GetPrivateProfileString("LOGO", "FILENAME", "none", p) == "none";
         }},
        {"GetPrivateProfileSection",
         [](os::System& s, const std::string& p) {
             return s.GetPrivateProfileSection("LOGO", p).empty();
         }},
        {"WritePrivateProfileString",
         [](os::System& s, const std::string& p) {
             return !s.WritePrivateProfileString("LOGO", "FILENAME", "a.bmp", p);
         }},
        {"LoadLibrary",
         [](os::System& s, const std::string& p) { return s.LoadLibrary(p) == os::kNoHandle; }},
        {"PlaySound",
         [](os::System& s, const std::string& p) {
             return !s.PlaySound(p.c_str(), os::kSndFilename | os::kSndAsync);
         }},
    };
    return calls;
}

TEST(SimFileNames, ANameOver255BytesFailsEveryFileCall) {
    const TestSandbox sandbox("orlo-names");
    os::sim::SimMachine machine(sandbox);
    auto process = machine.StartProcess("C:\\ORLO.EXE");
    const std::string name(256, 'a');
    // The long name as the file itself, as a folder on the way, and relative to the program's
    // folder.
    for (const std::string& path : {"C:\\" + name, "C:\\" + name + "\\x.ini", name + ".ini"}) {
        for (const FileCall& call : FileCalls()) {
            ASSERT_TRUE(process->WriteFile(kGood, "good"));
            bool failed = false;
            EXPECT_NO_THROW(failed = call.fails(*process, path)) << call.name << " " << path;
            EXPECT_TRUE(failed) << call.name << " " << path;
        }
    }
}

TEST(SimFileNames, ANameOf255BytesIsAName) {
    const TestSandbox sandbox("orlo-names");
    os::sim::SimMachine machine(sandbox);
    auto process = machine.StartProcess("C:\\ORLO.EXE");
    const std::string folder = "C:\\" + std::string(255, 'f');
    const std::string file = folder + "\\" + std::string(251, 'a') + ".ini";
    ASSERT_TRUE(process->CreateDirectory(folder));
    ASSERT_TRUE(process->WritePrivateProfileString("LOGO", "FILENAME", "a.bmp", file));
    EXPECT_EQ(process->GetPrivateProfileString("LOGO", "FILENAME", "", file), "a.bmp");
    EXPECT_TRUE(process->CopyFile(file, kGood, false));
    EXPECT_TRUE(process->DeleteFile(file));
    EXPECT_TRUE(process->RemoveDirectory(folder));
}

} // namespace
