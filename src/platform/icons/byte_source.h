#pragma once
// Where the icon reader gets its bytes from. Every read names its range and
// either fills it entirely or fails, so callers never see a short read and the
// reader never needs the whole file in memory.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform::icons {

class ByteSource {
public:
    virtual ~ByteSource();
    virtual std::uint64_t size() const = 0;
    // false when [offset, offset+n) is not wholly inside the source or cannot be read
    virtual bool read(std::uint64_t offset, void* dst, std::size_t n) const = 0;

    // True when [offset, offset+n) lies wholly inside the source; safe for any values.
    bool contains(std::uint64_t offset, std::uint64_t n) const {
        const std::uint64_t total = size();
        return offset <= total && n <= total - offset;
    }
};

// Bytes already in memory; does not own them.
class MemorySource : public ByteSource {
public:
    MemorySource(const void* data, std::size_t size)
        : data_(static_cast<const std::uint8_t*>(data)), size_(data ? size : 0) {}
    explicit MemorySource(std::span<const std::uint8_t> bytes) : MemorySource(bytes.data(), bytes.size()) {}

    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* dst, std::size_t n) const override;

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// A regular file read on demand with pread(2); the descriptor lives as long as the object.
class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool ok() const { return fd_ >= 0; }
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* dst, std::size_t n) const override;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Serves small reads from one window of the source read ahead at once, so the
// dozen header and directory fields a count needs cost one or two system calls.
// Reads larger than the window go straight through. Not for sharing between threads.
class BufferedSource : public ByteSource {
public:
    explicit BufferedSource(const ByteSource& inner, std::size_t window = 4096) : inner_(inner), window_(window) {}

    std::uint64_t size() const override { return inner_.size(); }
    bool read(std::uint64_t offset, void* dst, std::size_t n) const override;

private:
    const ByteSource& inner_;
    std::size_t window_;
    mutable std::vector<std::uint8_t> buffer_;
    mutable std::uint64_t start_ = 0;  // source offset of buffer_[0]
};

}  // namespace platform::icons
