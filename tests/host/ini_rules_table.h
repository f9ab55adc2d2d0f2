// How INI values read as integers and booleans. Each text is the value as it stands after "=" in
// the file (nullptr: the key is missing), so the same table can drive the host build against the
// simulated profile service and the Windows build against the real one.
#pragma once

namespace ini_rules {

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

} // namespace ini_rules
