#pragma once
// Folders and files as a POSIX system keeps them, with nothing drawn: what
// the real system services and their test double both read.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The plain files of a folder as the scan wants them: regular files, or links
// to them, whose names do not start with a dot; sorted by name. Empty when the
// folder cannot be read.
std::vector<std::string> ListPlainFiles(const std::string& folder);

// The folders inside a folder that a walk of the tree goes down into: real
// folders, never links to them (a link can lead back up the tree), whose
// names do not start with a dot; sorted by name. Empty when the folder cannot
// be read.
std::vector<std::string> ListSubfolders(const std::string& folder);

// The one enumeration of plain files that Dir(folder) starts and Dir() goes on with.
class PlainFileEnumeration {
public:
    // The first name of `folder`, "" for none.
    std::string Start(const std::string& folder);
    // The next name, "" at the end.
    std::string Next();

private:
    std::vector<std::string> names_;
    std::size_t next_ = 0;
};

// Every entry of a folder that is not a folder itself, hidden ones included;
// 0 when the folder cannot be read.
int CountFiles(const std::string& folder);

// Mount points from /proc/self/mounts that hold real file systems, "/" first.
std::vector<std::string> MountedRoots();

// `requested` as the folder view shows it: absolute, normalised, without a
// trailing separator; nullopt when it is not a folder that can be listed.
std::optional<std::string> ResolveFolder(const std::string& requested);

// Whether something other than a folder is at `path`, links followed.
bool FileExists(const std::string& path);

// The process's working folder; "/" when it cannot be told.
std::string WorkingFolder();
// The folder of the running program; "/" when it cannot be told.
std::string ProgramFolder();
// Gives the heap's idle pages back to the system.
void TrimHeap();

}  // namespace platform
