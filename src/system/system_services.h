#pragma once
// The system as the program really uses it: POSIX folders, the icon reader,
// picture files (giflib and the reader's icon writer here, the other formats
// by the desktop's encoders), and the desktop's handler for web addresses.

#include "platform/desktop.h"
#include "platform/system.h"
#include "icons/open_icon_file.h"
#include "posix_files.h"

namespace platform {

class SystemServices final : public System {
public:
    // Keeps a reference to `desktop`, which must outlive it.
    explicit SystemServices(Desktop& desktop) : desktop_(desktop) {}

    std::string Dir(const std::string& folder) override;
    std::string Dir() override;
    int CountFiles(const std::string& folder) override;
    std::vector<std::string> Subfolders(const std::string& folder) override;
    std::vector<std::string> Drives() override;
    std::optional<std::string> ResolveFolder(const std::string& current, const std::string& requested) override;
    bool FileExists(const std::string& path) override;
    std::string CurrentFolder() override;
    std::string AppPath() override;

    void setIncludeCursors(bool on) override;
    int CountIcons(const std::string& path) override;
    std::optional<icons::Icon> ExtractIcon(const std::string& path, int index, int size) override;
    std::optional<icons::IconDescription> DescribeIcon(const std::string& path, int index, int size) override;
    void SaveWholeIcon(const std::string& path, int index, const std::string& target) override;
    void SaveIconImage(const std::string& path, int index, int k, const std::string& target) override;
    std::optional<icons::VersionInfo> ReadVersionInfo(const std::string& path) override;

    int InstallAppIcon(const std::string& path, int index, const std::string& name) override;
    int CreateLauncher(const std::string& path, int index, const std::string& name) override;
    bool ProgramOnPath(const std::string& program) override;
    std::string IconsFrom(const std::string& path) override;

    void SavePicture(const pixels::Bitmap& image, const std::string& path) override;
    std::string ReadSettings() override;
    bool WriteSettings(const std::string& text) override;
    void ShellOpen(const std::string& url) override;
    void TrimMemory() override;

private:
    Desktop& desktop_;
    PlainFileEnumeration dir_;
    // A load asks for its file's icons one by one; the file stays open between them.
    icons::OpenIconFile iconFile_;
    int nextIcon_ = -1;  // the index that continues the run of ExtractIcon calls
    // Cells drawn afresh at the size the screen shows them come in any order,
    // between a load's icons; they keep a file of their own, so that a load's
    // file stays open for its next icon.
    icons::OpenIconFile sizedFile_;
    icons::OpenOptions options_;
};

}  // namespace platform
