#pragma once
// The one way a file is put in place: every save of the window, the
// command-line tools and the thumbnailer goes through here.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace platform {

// Whether the bytes reach the disk before the file takes its name. A single
// save a user waits for is synced; a tool that writes thousands of files is
// not, as a sync each would make it wait on the disk.
enum class FileSync { None, ToDisk };

// Writes `bytes` as the file `path`, whole or not at all: they go to a new
// file in the same folder that then takes the name, so a reader never sees
// half a file and an existing one survives a failed write. A new file gets
// the permissions any new file gets (the umask decides); a file replaced keeps
// its own, a link is written through to its target, and a file that may not
// be written stays as it is. The temporary file is gone on failure.
// False when the file cannot be written, with errno telling why.
bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, FileSync sync = FileSync::None);

// The same write in two steps, for a caller that opens every file it needs
// before its work starts (the thumbnailer, which then confines itself): once
// constructed, the temporary file is there, open and with the mode the file
// will have; `commit` writes the bytes and gives it the name. A file never
// committed is removed with the object.
class WholeFile {
public:
    explicit WholeFile(const std::string& path);  // !ok() when the file cannot be written, errno telling why
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }  // the temporary file, open for writing
    // Where the temporary file is and the file takes its name: the folder of
    // `path`, or of the file its links lead to.
    std::filesystem::path folder() const;
    // False, with errno telling why and the temporary file removed, when a step fails. Once only.
    bool commit(std::span<const std::uint8_t> bytes, FileSync sync = FileSync::None);

private:
    void discard();  // closes and removes the temporary file, if any

    std::filesystem::path target_;
    std::string temp_;
    int fd_ = -1;
};

}  // namespace platform
