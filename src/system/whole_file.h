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

// What becomes of a regular file already at the path. Replace is the rule;
// WriteInto is for a caller that made the file itself and keeps it open to
// read the result back through its own descriptor (tumbler, Thunar's
// thumbnail service), which a rename would leave holding the old, empty file.
enum class ExistingFile { Replace, WriteInto };

// The same write in two steps, for a caller that opens every file it needs
// before its work starts (the thumbnailer, which then confines itself): once
// constructed, the temporary file is there, open and with the mode the file
// will have; `commit` writes the bytes and gives it the name. A file never
// committed is removed with the object.
//
// With WriteInto and a regular file at the path, that file itself is opened
// instead, and `commit` truncates it and writes the bytes into it; should that
// fail, it is left empty, never holding part of them. Not committed, it stays
// as it was.
class WholeFile {
public:
    // !ok() when the file cannot be written, errno telling why.
    explicit WholeFile(const std::string& path, ExistingFile existing = ExistingFile::Replace);
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }  // the temporary file, or the existing one, open for writing
    // Where the temporary file is and the file takes its name: the folder of
    // `path`, or of the file its links lead to.
    std::filesystem::path folder() const;
    // False, with errno telling why and the temporary file removed (the
    // existing one emptied), when a step fails. Once only.
    bool commit(std::span<const std::uint8_t> bytes, FileSync sync = FileSync::None);

private:
    void discard();  // closes and removes the temporary file, if any
    bool openExisting();

    std::filesystem::path target_;
    std::string temp_;  // empty when the bytes go into the existing file
    int fd_ = -1;
};

}  // namespace platform
