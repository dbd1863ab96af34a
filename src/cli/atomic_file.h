#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

// Writes the bytes as the file `path`: they go to a new file beside it that
// then takes its name, so the file appears whole or not at all and an
// existing one survives a failed write. False when it cannot be written.
bool WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace cli
