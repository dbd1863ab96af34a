#include "byte_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace icons {

ByteSource::~ByteSource() = default;

const std::uint8_t* ByteSource::peek(std::uint64_t, std::size_t) const { return nullptr; }

void ByteSource::expect(std::uint64_t, std::uint64_t) const {}

const std::uint8_t* MemorySource::peek(std::uint64_t offset, std::size_t n) const {
    return contains(offset, n) && n != 0 ? data_ + offset : nullptr;
}

bool MemorySource::read(std::uint64_t offset, void* dst, std::size_t n) const {
    if (!contains(offset, n)) return false;
    if (n != 0) std::memcpy(dst, data_ + offset, n);
    return true;
}

SliceSource::SliceSource(const ByteSource& inner, std::uint64_t offset, std::uint64_t size)
    : inner_(inner), offset_(offset) {
    const std::uint64_t total = inner.size();
    size_ = offset >= total ? 0 : size < total - offset ? size : total - offset;
}

bool SliceSource::read(std::uint64_t offset, void* dst, std::size_t n) const {
    return contains(offset, n) && inner_.read(offset_ + offset, dst, n);
}

const std::uint8_t* SliceSource::peek(std::uint64_t offset, std::size_t n) const {
    return contains(offset, n) ? inner_.peek(offset_ + offset, n) : nullptr;
}

void SliceSource::expect(std::uint64_t offset, std::uint64_t n) const {
    if (contains(offset, n)) inner_.expect(offset_ + offset, n);
}

BufferedSource::BufferedSource(const ByteSource& inner, std::size_t window, std::size_t largest, std::size_t windows)
    : inner_(inner), window_(window == 0 ? 1 : window), largest_(largest < window_ ? window_ : largest),
      windows_(windows == 0 ? 1 : windows) {}

BufferedSource::Window* BufferedSource::fill(std::uint64_t offset, std::size_t n) const {
    Window* w = &windows_.front();
    for (Window& c : windows_)
        if (c.used < w->used) w = &c;
    std::size_t length = window_ < n ? n : window_;
    // Reads stepping down the file (a group may list its images last first)
    // get a window that ends where the read ends, so the next ones fall inside it.
    std::uint64_t start = offset;
    if (offset < lastOffset_ && lastOffset_ - offset <= length) start = offset + n > length ? offset + n - length : 0;
    if (expected_ != 0 && offset >= expectedAt_ && n <= expected_ && offset - expectedAt_ <= expected_ - n) {
        start = expectedAt_;
        length = std::max(static_cast<std::size_t>(expected_), window_);
        expected_ = 0;  // read once; the window keeps it
    }
    const std::uint64_t left = size() - start;
    const std::size_t want = static_cast<std::size_t>(left < length ? left : length);
    if (want > w->capacity) {
        w->bytes.reset(new std::uint8_t[want]);
        w->capacity = want;
    }
    w->start = start;
    w->size = 0;
    if (!inner_.read(start, w->bytes.get(), want)) return nullptr;
    w->size = want;
    return w;
}

void BufferedSource::expect(std::uint64_t offset, std::uint64_t n) const {
    const bool fits = n != 0 && n <= largest_ && contains(offset, n);
    expectedAt_ = fits ? offset : 0;
    expected_ = fits ? n : 0;
}

const std::uint8_t* BufferedSource::peek(std::uint64_t offset, std::size_t n) const {
    if (!contains(offset, n) || n == 0 || n > largest_) return nullptr;
    Window* hit = nullptr;
    for (Window& w : windows_)
        if (w.size != 0 && offset >= w.start && offset - w.start <= w.size && n <= w.size - (offset - w.start)) {
            hit = &w;
            break;
        }
    if (!hit) hit = fill(offset, n);
    lastOffset_ = offset;
    if (!hit) return nullptr;
    hit->used = ++clock_;
    return hit->bytes.get() + (offset - hit->start);
}

bool BufferedSource::read(std::uint64_t offset, void* dst, std::size_t n) const {
    if (!contains(offset, n)) return false;
    if (n == 0) return true;
    if (const std::uint8_t* p = peek(offset, n)) {
        std::memcpy(dst, p, n);
        return true;
    }
    return inner_.read(offset, dst, n);
}

FileSource::FileSource(const std::string& path) {
    // A FIFO would block the open until some writer came, and a terminal
    // could become ours; the check below turns both away once they are open.
    // Reads of a regular file never wait either way.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return;
    struct stat st {};
    // A folder or a device opens fine on Linux but is no icon file; treat it as unreadable.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    size_ = static_cast<std::uint64_t>(st.st_size);
    status_ = st;
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

}  // namespace icons
