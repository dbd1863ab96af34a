#pragma once
#include <stdexcept>
#include <string>

namespace platform {

// The one exception of the window's logic: a refused property value, a missing
// control-array element, a 16-bit overflow, a file that cannot be written.
class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& what) : std::runtime_error(what) {}
};

// Thrown by the first yield after the program ended, to unwind the handler
// that was paused in it: End stops the program at once, and nothing of that
// handler may run on after the window is gone. Deliberately neither a Failure
// nor a std::exception, so that no step guard and no failure handler stops
// it; only the dispatcher of events catches it.
struct ProgramEnded {};

}  // namespace platform
