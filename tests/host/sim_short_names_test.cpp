// Short (8.3) names on the simulated machine, as a volume that keeps them gives them: unique in
// their folder, numbered in the order the names were made, and each one reaches its own file.
#include "os/sim/SimMachine.h"

#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string ShortPath(const os::sim::SimMachine& machine, const std::string& path) {
    std::string shortPath;
    return machine.ShortPathName(path, shortPath, 260) ? shortPath : "(none)";
}

TEST(SimShortNames, AreUniqueInTheirFolderInTheOrderTheNamesWereMade) {
    const TestSandbox sandbox("orlo-shortnames");
    os::sim::SimMachine machine(sandbox); // makes C:\Program Files
    auto folder = [&](const std::string& path) { ASSERT_TRUE(machine.CreateDirectory(path)); };
    folder("C:\\Program Data");
    folder("C:\\Programmes");
    folder("C:\\Program Data\\Zarvo Velmara");
    ASSERT_TRUE(machine.WriteFile("C:\\Program Data\\notes for me.txt", "1"));
    ASSERT_TRUE(machine.WriteFile("C:\\Program.text", "2"));
    // A short name that goes frees its number, and the names after it keep theirs.
    ASSERT_TRUE(machine.RemoveDirectory("C:\\Programmes"));
    folder("C:\\Program Stuff");
    for (char c = 'A'; c <= 'G'; ++c)
        folder(std::string("C:\\Program ") + c);
    // Made beside the machine: numbered by their names when first asked.
    std::filesystem::create_directory(machine.HostPath("C:\\") / "zeta long name");
    std::filesystem::create_directory(machine.HostPath("C:\\") / "zeta long folder");

    struct Case {
        std::string path, shortPath;
    };
    for (const Case& c : std::vector<Case>{
             {"C:\\Program Files", "C:\\PROGRA~1"},
             {"C:\\Program Data", "C:\\PROGRA~2"},
             {"c:\\program data\\zarvo velmara", "c:\\PROGRA~2\\ZARVOV~1"},
             {"C:\\Program Data\\notes for me.txt", "C:\\PROGRA~2\\NOTESF~1.TXT"},
             {"C:\\Program.text", "C:\\PROGRA~1.TEX"},
             {"C:\\Program Stuff", "C:\\PROGRA~3"},
             {"C:\\Program A", "C:\\PROGRA~4"},
             {"C:\\Program F", "C:\\PROGRA~9"},
             {"C:\\Program G", "C:\\PROGR~10"},
             {"C:\\zeta long folder", "C:\\ZETALO~1"},
             {"C:\\zeta long name", "C:\\ZETALO~2"},
             {"C:\\PROGRA~2\\Zarvo Velmara", "C:\\PROGRA~2\\ZARVOV~1"},
         }) {
        EXPECT_EQ(ShortPath(machine, c.path), c.shortPath) << c.path;
        // The short form names the same folder or file.
        EXPECT_EQ(machine.LongPathName(c.shortPath), machine.LongPathName(c.path)) << c.path;
    }
    EXPECT_EQ(machine.LongPathName("C:\\progra~2\\ZARVOV~1"), "C:\\Program Data\\Zarvo Velmara");
    EXPECT_EQ(machine.LongPathName("C:\\PROGR~10"), "C:\\Program G");
    EXPECT_EQ(machine.LongPathName("C:\\PROGRA~5\\x"), "");
    ASSERT_TRUE(machine.WriteFile("C:\\PROGRA~2\\x.txt", "here"));
    EXPECT_TRUE(machine.FileExists("C:\\Program Data\\x.txt"));
    EXPECT_FALSE(machine.FileExists("C:\\Program Files\\x.txt"));

    // A volume without short names: the short form is the long one.
    machine.Config().shortNames = false;
    EXPECT_EQ(ShortPath(machine, "C:\\Program Data"), "C:\\Program Data");
    EXPECT_FALSE(machine.DirectoryExists("C:\\PROGRA~2"));
}

} // namespace
