#include "posix_files.h"

#include <dirent.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/paths.h"

namespace platform {

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Calls `f(name, d_type)` for every entry but . and ..; false when the folder
// cannot be opened.
template <typename F>
bool ForEachEntry(const std::string& folder, F&& f) {
    DIR* d = ::opendir(folder.c_str());
    if (!d) return false;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        f(name, e->d_type);
    }
    ::closedir(d);
    return true;
}

// Undoes the octal escapes /proc/self/mounts uses for blanks and the like.
std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size()) {
            const std::string oct = s.substr(i + 1, 3);
            if (oct.size() == 3 && std::all_of(oct.begin(), oct.end(), [](char c) { return c >= '0' && c <= '7'; })) {
                out.push_back(static_cast<char>(std::stoi(oct, nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.push_back(s[i]);
    }
    return out;
}

}  // namespace

std::vector<std::string> ListPlainFiles(const std::string& folder) {
    std::vector<std::string> names;
    ForEachEntry(folder, [&](const std::string& name, unsigned char type) {
        if (name[0] == '.') return;
        if (type == DT_REG || ((type == DT_LNK || type == DT_UNKNOWN) && IsRegularFile(JoinPath(folder, name))))
            names.push_back(name);
    });
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ListSubfolders(const std::string& folder) {
    std::vector<std::string> names;
    ForEachEntry(folder, [&](const std::string& name, unsigned char type) {
        if (name[0] == '.') return;
        if (type == DT_UNKNOWN) {
            struct stat st {};
            if (::lstat(JoinPath(folder, name).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
        } else if (type != DT_DIR) {
            return;
        }
        names.push_back(name);
    });
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> MountedRoots() {
    // Pseudo file systems hold no files a user browses for icons.
    static const char* const kSkip[] = {"proc",   "sysfs",   "devpts",    "cgroup",  "cgroup2", "securityfs",
                                        "pstore", "debugfs", "tracefs",   "mqueue",  "hugetlbfs", "configfs",
                                        "bpf",    "fusectl", "binfmt_misc", "autofs", "nsfs",    "devtmpfs",
                                        "efivarfs", "rpc_pipefs", "overlay_internal"};
    std::vector<std::string> roots{"/"};
    std::ifstream in("/proc/self/mounts");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string device, dir, type;
        if (!(fields >> device >> dir >> type)) continue;
        if (std::find(std::begin(kSkip), std::end(kSkip), type) != std::end(kSkip)) continue;
        dir = Unescape(dir);
        if (dir.rfind("/proc", 0) == 0 || dir.rfind("/sys", 0) == 0 || dir.rfind("/dev", 0) == 0 ||
            dir.rfind("/run", 0) == 0)
            continue;
        if (std::find(roots.begin(), roots.end(), dir) == roots.end()) roots.push_back(dir);
    }
    std::sort(roots.begin() + 1, roots.end());
    return roots;
}

std::string PlainFileEnumeration::Start(const std::string& folder) {
    names_ = ListPlainFiles(folder);
    next_ = 0;
    return Next();
}

std::string PlainFileEnumeration::Next() {
    if (next_ >= names_.size()) return "";
    return names_[next_++];
}

int CountFiles(const std::string& folder) {
    int n = 0;
    ForEachEntry(folder, [&](const std::string& name, unsigned char type) {
        if (type == DT_DIR) return;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            struct stat st {};
            if (::stat(JoinPath(folder, name).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return;
        }
        ++n;
    });
    return n;
}

std::optional<std::string> ResolveFolder(const std::string& requested) {
    if (requested.empty() || requested[0] != '/') return std::nullopt;
    // One spelling per folder, so that comparing paths compares folders.
    std::string path = std::filesystem::path(requested).lexically_normal().string();
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    // A folder that cannot be listed cannot be shown.
    DIR* d = ::opendir(path.c_str());
    if (!d) return std::nullopt;
    ::closedir(d);
    return path;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string WorkingFolder() {
    char buf[4096];
    if (::getcwd(buf, sizeof buf)) return buf;
    return "/";
}

std::string ProgramFolder() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "/";
    std::string exe(buf, static_cast<std::size_t>(n));
    const auto slash = exe.rfind('/');
    return slash == 0 ? "/" : exe.substr(0, slash);
}

void TrimHeap() { ::malloc_trim(0); }

}  // namespace platform
