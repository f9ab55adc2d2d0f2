// The rules of the reading log's trim, on the file's bytes: which lines at the top go, and the
// text that stays. Both work in one pass over the bytes, with lines as ranges of the buffer, so
// a trim costs time and memory in proportion to the file's size whatever its lines look like.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace monitor {

// A difference of two clock readings as the 32-bit signed arithmetic of the C library's time
// values gives it.
std::int32_t SecondsBetween(std::int32_t later, std::int32_t earlier);

// The byte offset of the first line that stays: lines are removed from the top while they begin
// with "*", carry nothing numeric after their last comma, or a time stamp more than a day before
// `now`. A line ends at CR LF, a lone CR or a lone LF; bytes.size() when no line stays.
std::size_t FirstKeptLine(const std::string& bytes, std::int32_t now);

// Turns the file's bytes into the trimmed file: the lines from `first` on, each followed by CR
// LF. Works in place when those lines already end so, else builds the text once.
void KeepLinesFrom(std::string& bytes, std::size_t first);

} // namespace monitor
