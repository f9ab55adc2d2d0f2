// Running a host command (orlo-sim, setup-sim) in a test: its status and what it printed, and
// distribution data of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

struct CommandRun {
    int status = 0;
    std::string out; // the transcript
    std::string err; // the error output
};

// Runs `command` with a fresh output file, the error output captured.
inline CommandRun RunCommand(const std::function<int(std::FILE*)>& command) {
    CommandRun run;
    std::FILE* out = std::tmpfile();
    if (!out) {
        ADD_FAILURE() << "no temporary file";
        return run;
    }
    testing::internal::CaptureStderr();
    run.status = command(out);
    run.err = testing::internal::GetCapturedStderr();
    std::rewind(out);
    for (int c; (c = std::fgetc(out)) != EOF;)
        run.out += static_cast<char>(c);
    std::fclose(out);
    return run;
}

// The source tree's data/ copied into `folder`, with the text `from` of the demo board's INI
// file A920.INI replaced by `to`.
inline void WriteDataChanged(const std::filesystem::path& folder, const std::string& from,
                             const std::string& to) {
    std::filesystem::create_directories(folder);
    for (const auto& entry : std::filesystem::directory_iterator(ORLO_DATA_DIR))
        std::filesystem::copy_file(entry.path(), folder / entry.path().filename());
    std::stringstream ini;
    ini << std::ifstream(folder / "A920.INI", std::ios::binary).rdbuf();
    std::string text = ini.str();
    ASSERT_NE(text.find(from), std::string::npos);
    text.replace(text.find(from), from.size(), to);
    std::ofstream(folder / "A920.INI", std::ios::binary) << text;
}

// The source tree's data/ copied into `folder`, with the demo board's logo shown from the
// picture file `logoFile`.
inline void WriteDataWithLogo(const std::filesystem::path& folder, const std::string& logoFile) {
    WriteDataChanged(folder, "[LOGO]\r\nENABLED=0", "[LOGO]\r\nENABLED=1\r\nFILENAME=" + logoFile);
}
