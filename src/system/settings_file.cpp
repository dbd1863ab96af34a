#include "settings_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "whole_file.h"

namespace platform {

namespace {

// A few lines are all the program writes; anything far past that is not ours.
constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

// Makes each missing folder of `folder`; the configuration folders are the
// user's own (mode 0700, as the base directories ask).
bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/') return pw->pw_dir;
    return "";
}

std::string SettingsFilePath() {
    // A relative XDG_CONFIG_HOME is invalid and is ignored, as the base directories say.
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        config = xdg;
    } else {
        const std::string home = HomeFolder();
        if (home.empty()) return "";
        config = home + (home.back() == '/' ? "" : "/") + ".config";
    }
    if (config.back() != '/') config += '/';
    return config + "tessel-icons/settings";
}

std::string ReadSettingsFile(const std::string& path) {
    if (path.empty()) return "";
    // Not blocking on a FIFO put in the file's place.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return "";
    std::string text;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::size_t>(st.st_size) <= kMaxSettingsBytes) {
        char buf[4096];
        ssize_t n = 0;
        while (text.size() <= kMaxSettingsBytes && (n = ::read(fd, buf, sizeof buf)) > 0) text.append(buf, static_cast<std::size_t>(n));
        if (n < 0 || text.size() > kMaxSettingsBytes) text.clear();
    }
    ::close(fd);
    return text;
}

bool WriteSettingsFile(const std::string& path, const std::string& text) {
    const auto slash = path.rfind('/');
    if (path.empty() || slash == std::string::npos || slash == 0) return false;
    if (!MakeFolders(path.substr(0, slash))) return false;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    // A crash just after the click must not leave an empty file behind.
    return WriteWholeFile(path, std::span<const std::uint8_t>(bytes, text.size()), FileSync::ToDisk);
}

}  // namespace platform
