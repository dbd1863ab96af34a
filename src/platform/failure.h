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

}  // namespace platform
