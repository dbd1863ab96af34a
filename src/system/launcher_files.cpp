#include "launcher_files.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "icons/desktop_entry.h"
#include "icons/icon_set.h"
#include "platform/paths.h"
#include "settings_file.h"
#include "whole_file.h"

extern char** environ;

namespace platform {
namespace {

std::string DataHome() {
    // A relative XDG_DATA_HOME is invalid and is ignored, as the base directories say.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') return xdg;
    const std::string home = HomeFolder();
    return home.empty() ? "" : JoinPath(home, ".local/share");
}

bool MakeFolders(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (std::filesystem::is_directory(folder)) return true;
    if (ec) errno = ec.value();
    return false;
}

LauncherResult Failed(LauncherResult result, std::string path) {
    result.error = errno;
    result.failure = LauncherFailure::CannotWrite;
    result.failedPath = std::move(path);
    return result;
}

}  // namespace

std::string FindOnPath(const std::string& tool) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    for (std::size_t start = 0; start <= dirs.size();) {
        const std::size_t colon = std::min(dirs.find(':', start), dirs.size());
        // An empty entry is the current folder, which no tool of ours is taken from.
        if (colon > start) {
            const std::string candidate = JoinPath(dirs.substr(start, colon - start), tool);
            struct stat st {};
            if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        start = colon + 1;
    }
    return "";
}

std::string DefaultIconThemeDir() {
    const std::string data = DataHome();
    return data.empty() ? "" : JoinPath(data, "icons/hicolor");
}

std::string DefaultApplicationsDir() {
    const std::string data = DataHome();
    return data.empty() ? "" : JoinPath(data, "applications");
}

bool RunTool(const std::string& tool, const std::vector<std::string>& args) {
    const std::string path = FindOnPath(tool);
    if (path.empty()) return false;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(tool.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // No shell, and nothing of ours runs in the child before the exec.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int started = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

LauncherResult InstallIconSet(const icons::IconFile& file, int index, const std::string& themeDir,
                              const std::string& name) {
    LauncherResult result;
    // Every PNG is made before the first is written, so an icon that cannot be
    // read leaves the theme as it was.
    const auto set = icons::MakeIconSet(file, index);
    if (set.empty()) {
        result.failure = LauncherFailure::NoIcon;
        return result;
    }
    for (const icons::IconSetImage& image : set) {
        const std::string side = std::to_string(image.size);
        const std::string folder = JoinPath(themeDir, side + "x" + side + "/apps");
        const std::string path = JoinPath(folder, name + ".png");
        if (!MakeFolders(folder) || !WriteWholeFile(path, image.png)) return Failed(std::move(result), path);
        result.written.push_back({image.size, path});
    }
    struct stat st {};
    const bool themed = ::stat(JoinPath(themeDir, "index.theme").c_str(), &st) == 0 ||
                        ::stat(JoinPath(themeDir, "icon-theme.cache").c_str(), &st) == 0;
    // A stale cache hides the new files from GTK; -t: a theme without index.theme gets one too.
    if (themed) RunTool("gtk-update-icon-cache", {"-f", "-t", themeDir});
    // Desktops watch the theme folder's time to notice new icons.
    ::utimensat(AT_FDCWD, themeDir.c_str(), nullptr, 0);
    return result;
}

LauncherResult WriteDesktopEntry(const std::string& applicationsDir, const std::string& name,
                                 const std::string& program, const std::optional<icons::VersionInfo>& version) {
    LauncherResult result;
    const std::string text = icons::DesktopEntryText(program, name, version);
    const std::string path = JoinPath(applicationsDir, name + ".desktop");
    if (!MakeFolders(applicationsDir) ||
        !WriteWholeFile(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())))
        return Failed(std::move(result), path);
    result.written.push_back({0, path});
    RunTool("update-desktop-database", {applicationsDir});
    return result;
}

}  // namespace platform
