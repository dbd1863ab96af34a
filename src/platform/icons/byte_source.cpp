#include "byte_source.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::icons {

ByteSource::~ByteSource() = default;

bool MemorySource::read(std::uint64_t offset, void* dst, std::size_t n) const {
    if (!contains(offset, n)) return false;
    if (n != 0) std::memcpy(dst, data_ + offset, n);
    return true;
}

bool BufferedSource::read(std::uint64_t offset, void* dst, std::size_t n) const {
    if (!contains(offset, n)) return false;
    if (n > window_) return inner_.read(offset, dst, n);
    if (offset < start_ || offset - start_ > buffer_.size() || n > buffer_.size() - (offset - start_)) {
        const std::uint64_t left = size() - offset;
        buffer_.resize(static_cast<std::size_t>(left < window_ ? left : window_));
        start_ = offset;
        if (!inner_.read(start_, buffer_.data(), buffer_.size())) {
            buffer_.clear();
            return inner_.read(offset, dst, n);
        }
    }
    if (n != 0) std::memcpy(dst, buffer_.data() + (offset - start_), n);
    return true;
}

FileSource::FileSource(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    // A folder or a device opens fine on Linux but is no icon file; treat it as unreadable.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    size_ = static_cast<std::uint64_t>(st.st_size);
}

FileSource::~FileSource() {
    if (fd_ >= 0) ::close(fd_);
}

bool FileSource::read(std::uint64_t offset, void* dst, std::size_t n) const {
    if (fd_ < 0 || !contains(offset, n)) return false;
    auto* out = static_cast<std::uint8_t*>(dst);
    while (n > 0) {
        const ssize_t got = ::pread(fd_, out, n, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        // The file may have shrunk since we measured it; a short read is a failed read.
        if (got <= 0) return false;
        out += got;
        offset += static_cast<std::uint64_t>(got);
        n -= static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace platform::icons
