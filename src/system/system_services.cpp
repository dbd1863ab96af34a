#include "system_services.h"

#include <filesystem>

#include "launcher_files.h"
#include "picture_files.h"
#include "settings_file.h"
#include "platform/failure.h"
#include "icons/icons.h"
#include "icons/whole_icon.h"

namespace platform {

std::string SystemServices::Dir(const std::string& folder) { return dir_.Start(folder); }
std::string SystemServices::Dir() { return dir_.Next(); }
int SystemServices::CountFiles(const std::string& folder) { return platform::CountFiles(folder); }
std::vector<std::string> SystemServices::Subfolders(const std::string& folder) { return platform::ListSubfolders(folder); }
std::vector<std::string> SystemServices::Drives() { return MountedRoots(); }

std::optional<std::string> SystemServices::ResolveFolder(const std::string&, const std::string& requested) {
    return platform::ResolveFolder(requested);
}

bool SystemServices::FileExists(const std::string& path) { return platform::FileExists(path); }
std::string SystemServices::CurrentFolder() { return WorkingFolder(); }
std::string SystemServices::AppPath() { return ProgramFolder(); }

void SystemServices::setIncludeCursors(bool on) {
    options_.cursors = on;
    iconFile_.setOptions(options_);
    sizedFile_.setOptions(options_);
    nextIcon_ = -1;
}

int SystemServices::CountIcons(const std::string& path) { return icons::CountIconsInFile(path, options_); }

std::optional<icons::Icon> SystemServices::ExtractIcon(const std::string& path, int index, int size) {
    if (size != icons::kStandardIconSize) {
        const icons::IconFile* file = sizedFile_.open(path);
        return file ? file->extract(index, size) : std::nullopt;
    }
    // A load asks for a file's icons in order, each right after the one before.
    // The file is measured again (is it still the file we opened?) when a load
    // starts or anything else came between, not before every icon: that check
    // cost as much as reading the icon.
    const bool next = index > 0 && index == nextIcon_;
    const icons::IconFile* file = next ? iconFile_.kept(path) : nullptr;
    if (!file) file = iconFile_.open(path);
    nextIcon_ = file ? index + 1 : -1;
    return file ? file->extract(index) : std::nullopt;
}

std::optional<icons::IconDescription> SystemServices::DescribeIcon(const std::string& path, int index, int size) {
    nextIcon_ = -1;
    const icons::IconFile* file = iconFile_.open(path);
    return file ? file->describe(index, size) : std::nullopt;
}

void SystemServices::SaveWholeIcon(const std::string& path, int index, const std::string& target) {
    nextIcon_ = -1;
    const icons::IconFile* file = iconFile_.open(path);
    if (!file) throw Failure("cannot open " + path);
    const auto bytes = HasEnding(target, ".png") ? file->largestPng(index) : file->fileBytes(index);
    if (!bytes) throw Failure("cannot read icon " + std::to_string(index) + " of " + path);
    WriteFileBytes(*bytes, target);
}

void SystemServices::SaveIconImage(const std::string& path, int index, int k, const std::string& target) {
    nextIcon_ = -1;
    const icons::IconFile* file = iconFile_.open(path);
    if (!file) throw Failure("cannot open " + path);
    const auto bytes = file->imagePng(index, k);
    if (!bytes) throw Failure("cannot read image " + std::to_string(k) + " of icon " + std::to_string(index) + " of " + path);
    WriteFileBytes(*bytes, target);
}

int SystemServices::InstallAppIcon(const std::string& path, int index, const std::string& name) {
    nextIcon_ = -1;
    const icons::IconFile* file = iconFile_.open(path);
    if (!file) throw Failure("cannot open " + path);
    const LauncherResult set = InstallIconSet(*file, index, DefaultIconThemeDir(), name);
    if (!set.ok()) throw Failure("cannot install icon " + std::to_string(index) + " of " + path);
    return static_cast<int>(set.written.size());
}

int SystemServices::CreateLauncher(const std::string& path, int index, const std::string& name) {
    const int sizes = InstallAppIcon(path, index, name);
    // The entry names the program by where it is, whatever folder the window was started in.
    std::error_code ec;
    const std::string program = std::filesystem::absolute(path, ec).lexically_normal().string();
    const LauncherResult entry =
        WriteDesktopEntry(DefaultApplicationsDir(), name, ec ? path : program, ReadVersionInfo(path));
    if (!entry.ok()) throw Failure("cannot write the menu entry " + name);
    return sizes;
}

std::string SystemServices::IconsFrom(const std::string& path) {
    nextIcon_ = -1;
    return iconFile_.open(path) ? iconFile_.from() : std::string();
}

bool SystemServices::ProgramOnPath(const std::string& program) { return !FindOnPath(program).empty(); }

std::optional<icons::VersionInfo> SystemServices::ReadVersionInfo(const std::string& path) {
    nextIcon_ = -1;
    // The file a tooltip's DescribeIcon just opened: kept, not parsed again.
    const icons::IconFile* file = iconFile_.open(path);
    return file ? file->versionInfo() : std::nullopt;
}

void SystemServices::SavePicture(const pixels::Bitmap& image, const std::string& path) { WritePictureFile(image, path, desktop_); }

std::string SystemServices::ReadSettings() { return ReadSettingsFile(SettingsFilePath()); }
bool SystemServices::WriteSettings(const std::string& text) { return WriteSettingsFile(SettingsFilePath(), text); }

void SystemServices::ShellOpen(const std::string& url) {
    // Nothing to say when no program handles the address.
    desktop_.OpenUrl(url);
}

void SystemServices::TrimMemory() {
    // An idle window holds no file open: the medium it is on can be unmounted.
    iconFile_.close();
    sizedFile_.close();
    nextIcon_ = -1;
    TrimHeap();
}

}  // namespace platform
