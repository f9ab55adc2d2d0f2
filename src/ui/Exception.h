// The class library's exception type: what a failed INI or registry write raises. The
// application object shows its message in the standard exception box.
#pragma once

#include <stdexcept>
#include <string>

namespace ui {

class Exception : public std::runtime_error {
  public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

} // namespace ui
