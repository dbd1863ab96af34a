#pragma once
#include <string>

namespace platform {

// `name` inside `folder`, with one separator between them whether or not the
// folder ends in one (the root does).
inline std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// The folder that holds `folder`; "/" for the root itself.
inline std::string ParentFolderOf(const std::string& folder) {
    const auto slash = folder.find_last_of('/', folder.size() > 1 ? folder.size() - 2 : 0);
    if (slash == std::string::npos || slash == 0) return "/";
    return folder.substr(0, slash);
}

}  // namespace platform
