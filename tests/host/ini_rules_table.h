// How INI values read as integers and booleans, and how the profile functions read files that a
// user's editor may leave and write names that a file cannot hold. The same table drives the host
// build against the simulated profile service and the Windows build against the real one, so the
// two are shown to agree.
#pragma once

#include <string_view>

namespace ini_rules {

using namespace std::string_view_literals;

// Integers and booleans: each text is the value as it stands after "=" in the file (nullptr: the
// key is missing).

struct IntegerCase {
    const char* text;
    int defaultValue;
    int expected;
};

inline constexpr IntegerCase kIntegerCases[] = {
    {"500", 7, 500},
    {"0", 7, 0},
    {"-12", 7, -12},
    {"010", 7, 10}, // decimal, never octal
    {"0x1F4", 7, 500},
    {"0X1f4", 7, 500},
    {"0x10", 7, 16},
    {"0x0", 7, 0},
    {"0x7FFFFFFF", 7, 2147483647},
    {"0xFFFFFFFF", 7, -1},
    {"0x00000000FF", 7, 255}, // leading zeros do not count as digits
    {"2147483647", 7, 2147483647},
    {"-2147483648", 7, -2147483647 - 1},
    {" 42 ", 7, 42},   // blanks around the value do not belong to it
    {"\"42\"", 7, 42}, // nor are enclosing quotes
    {"0x", 7, 7},      // too short for hexadecimal, no decimal either
    {"0X", 7, 7},
    {"0x1G", 7, 7},
    {"0x-1", 7, 7},
    {"0x100000000", 7, 7},
    {"-0x10", 7, 7},
    {"12abc", 7, 7},
    {"abc", 7, 7},
    {"", 7, 7},
    {"-", 7, 7},
    {"+5", 7, 7},
    {"1 2", 7, 7},
    {"\" 42\"", 7, 7},
    {"2147483648", 7, 7},
    {"-2147483649", 7, 7},
    {"99999999999999999999", 7, 7},
    {nullptr, 7, 7},
    {nullptr, -3, -3},
};

struct BoolCase {
    const char* text;
    bool defaultValue;
    bool expected;
};

inline constexpr BoolCase kBoolCases[] = {
    {"1", false, true},      {"2", false, true},   {"-1", false, true}, {"0x10", false, true},
    {"0", true, false},      {"0x0", true, false}, {"yes", true, true}, {"yes", false, false},
    {"true", false, false},  {"", true, true},     {"", false, false},  {nullptr, true, true},
    {nullptr, false, false},
};

// A file's bytes, an optional write, then one read. Value reads use kDefault as the default;
// lists are compared as their entries joined by '|'.
inline constexpr const char* kDefault = "(default)";

enum class Read { Value, SectionLines, SectionNames };

struct Write {
    const char* section = nullptr; // nullptr: no write
    std::string_view key, value;
};

struct ProfileCase {
    const char* what;
    std::string_view file;
    Write write;
    Read read;
    const char* section;
    std::string_view key;
    std::string_view expected;
};

inline constexpr std::string_view kSections = "[S]\r\nx=1\r\n[T]\r\ny=2\r\n";
inline constexpr std::string_view kLoneCr = "[S]\rk=1\rz=2\r[T]\ry=3\r";

inline constexpr ProfileCase kProfileCases[] = {
    // a UTF-8 byte-order mark at the start
    {"a mark before the first section",
     "\xEF\xBB\xBF[SYSTEM]\r\nSN=042\r\n"sv,
     {},
     Read::Value,
     "SYSTEM",
     "SN",
     "042"},
    {"UTF-8 behind the mark reads in the ANSI code page",
     "\xEF\xBB\xBF[S]\r\nk=\xC2\xB0"
     "C \xE2\x82\xAC\r\n"sv,
     {},
     Read::Value,
     "S",
     "k",
     "\xB0"
     "C \x80"},
    {"a character the code page lacks and bad UTF-8 read as ?",
     "\xEF\xBB\xBF[S]\r\nk=\xE4\xB8\xAD|\xB0\r\n"sv,
     {},
     Read::Value,
     "S",
     "k",
     "?|?"},
    {"without the mark the bytes read as they are",
     "[S]\r\nk=\xC2\xB0\r\n"sv,
     {},
     Read::Value,
     "S",
     "k",
     "\xC2\xB0"},
    {"a mark inside the file is no mark",
     "[A]\r\nx=1\r\n\xEF\xBB\xBF[SYSTEM]\r\nSN=042\r\n"sv,
     {},
     Read::Value,
     "SYSTEM",
     "SN",
     kDefault},
    {"a write keeps a marked file UTF-8",
     "\xEF\xBB\xBF[S]\r\nk=1\r\n"sv,
     {"S", "d",
      "\xB0"
      "C"},
     Read::Value,
     "S",
     "d",
     "\xB0"
     "C"},
    {"a write keeps a marked file's other keys",
     "\xEF\xBB\xBF[S]\r\nk=1\r\n"sv,
     {"T", "d", "\xB0"},
     Read::Value,
     "S",
     "k",
     "1"},
    // NUL bytes
    {"a value ends at a NUL", "[S]\r\nk=a\0b\r\nz=2\r\n"sv, {}, Read::Value, "S", "k", "a"},
    {"a key ends at a NUL, its line goes on",
     "[S]\r\nk\0x=1\r\n"sv,
     {},
     Read::Value,
     "S",
     "k",
     "1"},
    {"a section name ends at a NUL", "[S\0T]\r\nk=1\r\n"sv, {}, Read::Value, "S", "k", "1"},
    {"a NUL before a header hides it", "\0[S]\r\nk=1\r\n"sv, {}, Read::Value, "S", "k", kDefault},
    {"a written value ends at a NUL",
     "[S]\r\n"sv,
     {"S", "k", "a\0b"sv},
     Read::Value,
     "S",
     "k",
     "a"},
    // line ends
    {"a lone CR ends a line", kLoneCr, {}, Read::Value, "S", "z", "2"},
    {"a lone CR ends a header line", kLoneCr, {}, Read::Value, "T", "y", "3"},
    {"CR CR LF is two line ends", "[S]\r\r\nk=1\r\r\nz=2"sv, {}, Read::Value, "S", "z", "2"},
    {"a write into a file of lone CRs keeps its keys",
     kLoneCr,
     {"T", "n", "4"},
     Read::Value,
     "T",
     "y",
     "3"},
    {"a write into a file of lone CRs reads back",
     kLoneCr,
     {"T", "n", "4"},
     Read::Value,
     "T",
     "n",
     "4"},
    // names in the file
    {"a comment line with = is found by its name",
     "[S]\r\n;Hidden=1\r\n"sv,
     {},
     Read::Value,
     "S",
     ";Hidden",
     "1"},
    {"a [ line without ] is a key line", "[S]\r\n[x=1\r\n"sv, {}, Read::Value, "S", "[x", "1"},
    {"a section name runs to the line's last ]",
     "[a]b]c\r\nk=1\r\n"sv,
     {},
     Read::Value,
     "a]b",
     "k",
     "1"},
    {"text after the last ] is no part of the name",
     "[e] ; c\r\nk=3\r\n"sv,
     {},
     Read::Value,
     "e",
     "k",
     "3"},
    {"blanks around the names asked for do not count",
     "[ T ]\r\n a = 1 \r\n"sv,
     {},
     Read::Value,
     " T ",
     " a ",
     "1"},
    // names written that a file cannot hold as they are
    {"a key's surrounding blanks are not written",
     "[S]\r\n"sv,
     {"S", " a ", "1"},
     Read::Value,
     "S",
     "a",
     "1"},
    {"a section's surrounding blanks are not written",
     kSections,
     {" T ", "k", "1"},
     Read::Value,
     "T",
     "k",
     "1"},
    {"a key with = does not read back",
     "[S]\r\n"sv,
     {"S", "a=b", "1"},
     Read::Value,
     "S",
     "a=b",
     kDefault},
    {"a key with = reads as the key before it",
     "[S]\r\n"sv,
     {"S", "a=b", "1"},
     Read::Value,
     "S",
     "a",
     "b=1"},
    {"a key with a leading ; reads back",
     "[S]\r\n"sv,
     {"S", ";a", "1"},
     Read::Value,
     "S",
     ";a",
     "1"},
    {"a key with a leading ; is not listed",
     "[S]\r\n"sv,
     {"S", ";a", "1"},
     Read::SectionLines,
     "S",
     "",
     ""},
    {"a key [t] does not read back",
     kSections,
     {"S", "[t]", "1"},
     Read::Value,
     "S",
     "[t]",
     kDefault},
    {"a key [t] becomes a header that hides [T]",
     kSections,
     {"S", "[t]", "1"},
     Read::Value,
     "T",
     "y",
     kDefault},
    {"a key [t] adds a section",
     kSections,
     {"S", "[t]", "1"},
     Read::SectionNames,
     nullptr,
     "",
     "S|t|T"},
    {"a section name with ] reads back",
     kSections,
     {"a]b", "k", "1"},
     Read::Value,
     "a]b",
     "k",
     "1"},
    {"a section name with a leading [ reads back",
     kSections,
     {"[a", "k", "1"},
     Read::Value,
     "[a",
     "k",
     "1"},
    {"a section name with a leading ; reads back",
     kSections,
     {";a", "k", "1"},
     Read::Value,
     ";a",
     "k",
     "1"},
    {"a section name with = reads back",
     kSections,
     {"a=b", "k", "1"},
     Read::Value,
     "a=b",
     "k",
     "1"},
    // lists
    {"a section's lines: key=value, lines without =, no comments",
     "[S]\r\n;Hidden=1\r\nnoequals\r\n Name = Velmara \r\nq=\"  p  \"\r\n\r\nk=a\0b\r\nlast=1\r\n"sv,
     {},
     Read::SectionLines,
     "S",
     "",
     "noequals|Name=Velmara|q=\"  p  \"|k=a|last=1"},
    {"section names",
     "[a]b]c\r\n[d] ;x]\r\n[e] ; c\r\n[ f ]\r\n  [x\r\n[S\0T]\r\n"sv,
     {},
     Read::SectionNames,
     nullptr,
     "",
     "a]b|d] ;x|e|f|S"},
};

} // namespace ini_rules
