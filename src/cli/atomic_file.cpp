#include "atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

bool WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path target(path);
    const std::string stem = (target.parent_path() / ("." + target.filename().string() + ".")).string();
    // Created with the permissions any new file gets (the umask decides), so a
    // saved picture is read like any other file. The name is this process's
    // own; another's that happens to match is passed over.
    static unsigned serial = 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = stem + std::to_string(::getpid()) + "-" + std::to_string(serial++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += static_cast<std::size_t>(n);
    }
    // No fsync: the rename alone makes the file appear whole or not at all, and
    // a run writes thousands of files that a sync each would make wait on the disk.
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

}  // namespace cli
