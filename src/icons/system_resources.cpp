#include "system_resources.h"

#include <dirent.h>

#include <algorithm>
#include <cctype>

namespace icons {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// The entry of `folder` named `name` in any case, as a path; "" for none.
std::string EntryInAnyCase(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str());
    if (!dir) return "";
    const std::string wanted = Lower(name);
    std::string found;
    while (const dirent* e = ::readdir(dir)) {
        if (Lower(e->d_name) == wanted) {
            found = folder + "/" + e->d_name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

std::pair<std::string, std::string> Split(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return {".", path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

std::string SystemResourcesModuleOf(const std::string& path) {
    const auto [folder, name] = Split(path);
    const auto [parent, folderName] = Split(folder);
    const std::string kind = Lower(folderName);
    if (name.empty() || (kind != "system32" && kind != "syswow64")) return "";
    const std::string resources = EntryInAnyCase(parent, "SystemResources");
    return resources.empty() ? "" : EntryInAnyCase(resources, name + ".mun");
}

IconFileAt::IconFileAt(const std::string& path, OpenOptions options) : own_(path), options_(options) {
    if (!own_.ok()) return;
    modulePath_ = SystemResourcesModuleOf(path);
    if (modulePath_.empty()) return;
    module_ = std::make_unique<FileSource>(modulePath_);
    if (!module_->ok()) module_.reset();
}

IconFileAt::~IconFileAt() = default;

const IconFile& IconFileAt::icons() const {
    if (icons_) return *icons_;
    const auto read = [&](const FileSource& file) {
        icons_.reset();
        buffered_ = std::make_unique<BufferedSource>(file, 4096, kReadAheadBytes, kReadAheadWindows);
        icons_ = std::make_unique<IconFile>(*buffered_, options_);
    };
    read(own_);
    // A library of its own icons, or anything but a library, is read as it is.
    if (module_ && icons_->count() == 0 && icons_->kind() == ContainerKind::kPe) {
        read(*module_);
        from_ = "SystemResources/" + Split(modulePath_).second;
    }
    return *icons_;
}

}  // namespace icons
