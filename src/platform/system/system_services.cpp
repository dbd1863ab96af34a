#include "system_services.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "picture_files.h"
#include "platform/icons/icons.h"

namespace platform {

std::string SystemServices::Dir(const std::string& folder) { return dir_.Start(folder); }
std::string SystemServices::Dir() { return dir_.Next(); }
int SystemServices::CountFiles(const std::string& folder) { return platform::CountFiles(folder); }
std::vector<std::string> SystemServices::Drives() { return MountedRoots(); }

std::optional<std::string> SystemServices::ResolveFolder(const std::string&, const std::string& requested) {
    return platform::ResolveFolder(requested);
}

std::string SystemServices::CurrentFolder() { return WorkingFolder(); }
std::string SystemServices::AppPath() { return ProgramFolder(); }

int SystemServices::CountIcons(const std::string& path) { return icons::CountIconsInFile(path); }

std::optional<icons::Icon> SystemServices::ExtractIcon(const std::string& path, int index) {
    return icons::ExtractIconFromFile(path, index);
}

void SystemServices::SavePicture(const Bitmap& image, const std::string& path) { WritePictureFile(image, path); }

void SystemServices::ShellOpen(const std::string& url) {
    // Nothing to say when no program handles the address.
    QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromUtf8(url.c_str())));
}

void SystemServices::TrimMemory() { TrimHeap(); }

}  // namespace platform
