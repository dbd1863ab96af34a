#pragma once
// The one way a file is put in place: every save of the window, the
// command-line tools and the thumbnailer goes through here.

#include <cstdint>
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

}  // namespace platform
