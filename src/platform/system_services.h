#pragma once
// The parts of the services that are the same wherever the window is drawn:
// folders, icon files, picture files, memory.

#include <cstddef>
#include <string>
#include <vector>

#include "services.h"

namespace platform {

class SystemServices : public Services {
public:
    std::string Dir(const std::string& folder) override;
    std::string Dir() override;
    int CountFiles(const std::string& folder) override;
    std::vector<std::string> Drives() override;
    std::optional<std::string> ResolveFolder(const std::string& current, const std::string& requested) override;

    int CountIcons(const std::string& path) override;
    std::optional<icons::Icon> ExtractIcon(const std::string& path, int index) override;

    void SavePicture(const Bitmap& image, const std::string& path) override;
    void TrimMemory() override;
    std::string AppPath() override;

private:
    std::vector<std::string> names_;
    std::size_t next_ = 0;
};

// The plain files of a folder as the scan wants them: regular files, or links
// to them, whose names do not start with a dot; sorted by name. Empty when the
// folder cannot be read.
std::vector<std::string> ListPlainFiles(const std::string& folder);

// Mount points from /proc/self/mounts that hold real file systems, "/" first.
std::vector<std::string> MountedRoots();

}  // namespace platform
