#include "whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <utility>

namespace platform {

namespace {

// As deep as the system itself follows links before it gives up.
constexpr int kMaxLinks = 40;

// The file a write of `path` lands in: `path` itself, or the file its links
// lead to. `st` tells what is there when `exists`.
bool FindTarget(const std::string& path, std::filesystem::path& target, struct stat& st, bool& exists) {
    target = path;
    for (int depth = 0;; ++depth) {
        if (::lstat(target.c_str(), &st) != 0) {
            exists = false;
            return errno == ENOENT;
        }
        if (!S_ISLNK(st.st_mode)) {
            exists = true;
            return true;
        }
        if (depth == kMaxLinks) {
            errno = ELOOP;
            return false;
        }
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
        if (ec) {
            errno = ec.value();
            return false;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

WholeFile::WholeFile(const std::string& path, ExistingFile existing) {
    struct stat st {};
    bool exists = false;
    if (!FindTarget(path, target_, st, exists)) return;
    if (exists && S_ISREG(st.st_mode) && existing == ExistingFile::WriteInto) {
        openExisting();
        return;
    }
    if (exists && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return;
    }
    // The rename would replace a file its owner made read-only.
    if (exists && ::access(target_.c_str(), W_OK) != 0) return;

    // The name is this process's own, and hidden, so that a folder listing
    // does not show a file that is still being written; another's that
    // happens to match is passed over.
    static std::atomic<unsigned> serial = 0;
    const std::string stem = (target_.parent_path() / ("." + target_.filename().string() + ".")).string();
    const mode_t mode = exists ? (st.st_mode & 0777) : 0666;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp_ = stem + std::to_string(::getpid()) + "-" + std::to_string(serial++);
        fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST) return;
    }
    if (fd < 0) return;
    fd_ = fd;
    // The umask only narrows a new file's mode; one that replaces another
    // takes that one's mode whole, before any byte is in it.
    if (exists && ::fchmod(fd_, mode) != 0) {
        const int error = errno;
        discard();
        errno = error;
    }
}

bool WholeFile::openExisting() {
    // Not truncated yet: until the bytes are ready, the file holds what its
    // maker put there. Non-blocking, so that a FIFO that took the file's
    // place since it was looked at fails here instead of waiting for a reader.
    const int fd = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISREG(st.st_mode) ? errno : EINVAL;
        ::close(fd);
        errno = error;
        return false;
    }
    fd_ = fd;
    return true;
}

WholeFile::~WholeFile() {
    const int error = errno;
    discard();
    errno = error;
}

void WholeFile::discard() {
    if (fd_ < 0) return;
    ::close(std::exchange(fd_, -1));
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

std::filesystem::path WholeFile::folder() const {
    const std::filesystem::path parent = target_.parent_path();
    return parent.empty() ? "." : parent;
}

bool WholeFile::commit(std::span<const std::uint8_t> bytes, FileSync sync) {
    if (fd_ < 0) {
        errno = EBADF;
        return false;
    }
    const bool inPlace = temp_.empty();
    bool ok = (!inPlace || ::ftruncate(fd_, 0) == 0) && WriteAll(fd_, bytes);
    // Without the sync a crash soon after could leave the new name on an
    // empty file; a file system that cannot sync this file has nothing to lose.
    if (ok && sync == FileSync::ToDisk && ::fsync(fd_) != 0 && errno != EINVAL) ok = false;
    // Part of the bytes would read as a broken picture; none reads as a failure.
    if (!ok && inPlace) {
        const int error = errno;
        (void)::ftruncate(fd_, 0);
        errno = error;
    }
    const int writeError = errno;
    if (::close(std::exchange(fd_, -1)) != 0) {
        if (!ok) errno = writeError;
        ok = false;
    }
    if (inPlace) return ok;
    ok = ok && ::rename(temp_.c_str(), target_.c_str()) == 0;
    if (!ok) {
        const int error = errno;
        ::unlink(temp_.c_str());
        errno = error;
    }
    return ok;
}

bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, FileSync sync) {
    WholeFile file(path);
    return file.ok() && file.commit(bytes, sync);
}

}  // namespace platform
