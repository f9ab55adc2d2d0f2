// A fresh folder under the system's temporary folder for one simulated machine's drives,
// removed again when the test is done. Its name carries the process id and a serial number, so
// that tests running side by side, and several machines in one test, never share one.
#pragma once

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

class TestSandbox {
  public:
    explicit TestSandbox(const std::string& prefix) : path_(MakePath(prefix)) {
        std::filesystem::remove_all(path_);
    }
    ~TestSandbox() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestSandbox(const TestSandbox&) = delete;
    TestSandbox& operator=(const TestSandbox&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    operator const std::filesystem::path&() const { return path_; }

  private:
    static std::filesystem::path MakePath(const std::string& prefix) {
        static std::atomic<int> serial{0};
        return std::filesystem::temp_directory_path() /
               (prefix + "-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    }

    std::filesystem::path path_;
};
