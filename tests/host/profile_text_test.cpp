#include "os/sim/ProfileText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using os::sim::ProfileGetString;
using os::sim::ProfileSectionLines;
using os::sim::ProfileSectionNames;
using os::sim::ProfileSetString;

const std::string kBoardIni = "; orphan lines before any section belong to none\r\n"
                              "orphan=1\r\n"
                              "[Board]\r\n"
                              "  Name = Velmara  \r\n"
                              "name=second\r\n"
                              "QUOTED=\"  padded  \"\r\n"
                              "single='x'\r\n"
                              "mixed=\"x'\r\n"
                              "lonely=\"\r\n"
                              "noequals\r\n"
                              ";Hidden=1\r\n"
                              "empty=\r\n"
                              "Spaced Key = a = b\r\n"
                              "\r\n"
                              "[board]\r\n"
                              "late=1\r\n"
                              "[ Other ]\n"
                              "key=lf\n"
                              "tail=no line end";

struct ReadCase {
    const char* section;
    const char* key;
    const char* defaultValue;
    const char* expected;
};

TEST(ProfileText, ReadsValuesAsTheProfileFunctionsDo) {
    const ReadCase cases[] = {
        {"Board", "name", "-", "Velmara"}, // trimmed, first key wins
        {"BOARD", "NAME", "-", "Velmara"}, // names ignore case
        {"Board", "quoted", "-", "  padded  "},
        {"Board", "single", "-", "x"},
        {"Board", "mixed", "-", "\"x'"}, // unmatched quotes stay
        {"Board", "lonely", "-", "\""},
        {"Board", "noequals", "-", "-"},
        {"Board", ";Hidden", "-", "1"}, // a comment with '=' is still found by its name
        {"Board", "empty", "-", ""},    // present but empty: not the default
        {"Board", "spaced key", "-", "a = b"},
        {"Board", "late", "-", "-"}, // only the first [board] counts
        {"other", "key", "-", "lf"},
        {"Other", "tail", "-", "no line end"},
        {"", "orphan", "-", "-"},
        {"Missing", "name", "dflt", "dflt"},
        {"Board", "missing", "abc  ", "abc"}, // the default loses trailing blanks
    };
    for (const ReadCase& c : cases) {
        EXPECT_EQ(ProfileGetString(kBoardIni, c.section, c.key, c.defaultValue), c.expected)
            << "[" << c.section << "] " << c.key;
    }
}

TEST(ProfileText, TextIsCutTo2047Characters) {
    const std::string longText(3000, 'a');
    const std::string content = "[S]\r\nk=" + longText + "\r\n";
    EXPECT_EQ(ProfileGetString(content, "S", "k", ""), longText.substr(0, 2047));
    EXPECT_EQ(ProfileGetString(content, "S", "other", longText), longText.substr(0, 2047));
}

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

TEST(ProfileText, WritesChangeOnlyWhatTheyMust) {
    const WriteCase cases[] = {
        {"new file", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"existing key keeps its spelling", "[S]\r\n  Key = old\r\nz=1\r\n", "s", "KEY", "new",
         "[S]\r\nKey=new\r\nz=1\r\n"},
        {"other lines keep their line ends", "[S]\nk=1\nz=2\n", "S", "k", "v", "[S]\nk=v\r\nz=2\n"},
        {"new key after the last key line", "[A]\r\nx=1\r\n\r\n;about B\r\n[B]\r\ny=2\r\n", "A",
         "new", "3", "[A]\r\nx=1\r\nnew=3\r\n\r\n;about B\r\n[B]\r\ny=2\r\n"},
        {"new key in a section without keys", "[A]\r\n;x=1\r\n\r\n[B]\r\n", "a", "x", "2",
         "[A]\r\nx=2\r\n;x=1\r\n\r\n[B]\r\n"},
        {"new section at the end", "[A]\r\nx=1\r\n", "B", "k", "v",
         "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
        {"new section after a last line without line end", "[A]\r\nx=1", "B", "k", "v",
         "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
        {"new section after a trailing blank line", "[A]\r\nx=1\r\n\r\n", "B", "k", "v",
         "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
        {"new key after a last line without line end", "[A]\r\nx=1", "A", "y", "2",
         "[A]\r\nx=1\r\ny=2\r\n"},
        {"first of two sections", "[A]\r\nx=1\r\n[a]\r\nx=2\r\n", "A", "x", "9",
         "[A]\r\nx=9\r\n[a]\r\nx=2\r\n"},
        {"first of two keys", "[A]\r\nx=1\r\nX=2\r\n", "A", "x", "9", "[A]\r\nx=9\r\nX=2\r\n"},
        {"value written unchanged", "[A]\r\n", "A", "k", " v ", "[A]\r\nk= v \r\n"},
    };
    for (const WriteCase& c : cases) {
        std::string content = c.before;
        EXPECT_TRUE(ProfileSetString(content, c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(content, c.after) << c.name;
    }
}

TEST(ProfileText, WrittenValuesReadBack) {
    std::string content = kBoardIni;
    for (const char* value : {"", "12", "x=y", "'q'", "Velmara (ORLO)"}) {
        ASSERT_TRUE(ProfileSetString(content, "Fresh", "Value", value));
        ASSERT_TRUE(ProfileSetString(content, "Board", "Name", value));
        const std::string expected = value == std::string("'q'") ? "q" : value;
        EXPECT_EQ(ProfileGetString(content, "fresh", "value", "-"), expected);
        EXPECT_EQ(ProfileGetString(content, "board", "name", "-"), expected);
    }
    EXPECT_EQ(ProfileGetString(content, "Board", "quoted", "-"), "  padded  ");
}

TEST(ProfileText, RefusesWritesThatCouldNotBeReadBack) {
    const std::string before = "[A]\r\nx=1\r\n";
    const char* const refused[][3] = {{"", "k", "v"},
                                      {"A", "", "v"},
                                      {"A", "x", "1\r\ny=2"},
                                      {"A\nB", "x", "v"},
                                      {"A", "x\ny", "v"}};
    for (const auto& r : refused) {
        std::string content = before;
        EXPECT_FALSE(ProfileSetString(content, r[0], r[1], r[2]));
        EXPECT_EQ(content, before);
    }
}

TEST(ProfileText, SectionLinesOfTheFirstSectionWithoutComments) {
    EXPECT_EQ(ProfileSectionLines(kBoardIni, "board"),
              (std::vector<std::string>{"Name=Velmara", "name=second", "QUOTED=\"  padded  \"",
                                        "single='x'", "mixed=\"x'", "lonely=\"", "noequals",
                                        "empty=", "Spaced Key=a = b"}));
    EXPECT_EQ(ProfileSectionLines(kBoardIni, "OTHER"),
              (std::vector<std::string>{"key=lf", "tail=no line end"}));
    EXPECT_TRUE(ProfileSectionLines(kBoardIni, "Missing").empty());
    EXPECT_EQ(ProfileSectionLines("[A]\r\n;x=1\r\n; comment\r\nnoequals\r\n", "A"),
              std::vector<std::string>{"noequals"});
}

TEST(ProfileText, SectionNamesInFileOrder) {
    EXPECT_EQ(ProfileSectionNames(kBoardIni),
              (std::vector<std::string>{"Board", "board", "Other"}));
    EXPECT_TRUE(ProfileSectionNames("").empty());
}

} // namespace
