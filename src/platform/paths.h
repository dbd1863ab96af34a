#pragma once
#include <string>
#include <vector>

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

// The drive a folder lies on: the longest of the mounted roots that holds it.
inline std::string DriveOf(const std::string& folder, const std::vector<std::string>& drives) {
    std::string best = "/";
    for (const std::string& d : drives) {
        const bool holds = folder == d || (folder.rfind(d, 0) == 0 && (d == "/" || folder[d.size()] == '/'));
        if (holds && d.size() > best.size()) best = d;
    }
    return best;
}

}  // namespace platform
