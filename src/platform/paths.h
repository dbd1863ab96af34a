#pragma once
#include <string>

namespace platform {

// `name` inside `folder`, with one separator between them whether or not the
// folder ends in one (the root does).
inline std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace platform
