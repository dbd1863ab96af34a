#pragma once
// Where the icon reader gets its bytes from. Every read names its range and
// either fills it entirely or fails, so callers never see a short read and the
// reader never needs the whole file in memory.

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace icons {

class ByteSource {
public:
    virtual ~ByteSource();
    virtual std::uint64_t size() const = 0;
    // false when [offset, offset+n) is not wholly inside the source or cannot be read
    virtual bool read(std::uint64_t offset, void* dst, std::size_t n) const = 0;

    // The bytes [offset, offset+n) where the source already holds them in
    // memory, valid until its next read; nullptr when it does not (then read).
    virtual const std::uint8_t* peek(std::uint64_t offset, std::size_t n) const;

    // Says that reads within [offset, offset+n) are coming, so a source that
    // reads ahead can take them in one piece; it changes no read's result.
    virtual void expect(std::uint64_t offset, std::uint64_t n) const;

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
    const std::uint8_t* peek(std::uint64_t offset, std::size_t n) const override;

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// The bytes [offset, offset+size) of another source, seen as a source of
// their own: a file embedded in a container is read in place, never copied.
// Keeps a reference to `inner`, which must outlive it.
class SliceSource : public ByteSource {
public:
    SliceSource(const ByteSource& inner, std::uint64_t offset, std::uint64_t size);

    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* dst, std::size_t n) const override;
    const std::uint8_t* peek(std::uint64_t offset, std::size_t n) const override;
    void expect(std::uint64_t offset, std::uint64_t n) const override;

private:
    const ByteSource& inner_;
    std::uint64_t offset_;
    std::uint64_t size_;  // clipped to what the inner source holds
};

// A regular file read on demand with pread(2); the descriptor lives as long as the object.
class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool ok() const { return fd_ >= 0; }
    // For a caller that restricts the process to the files it has open.
    int fd() const { return fd_; }
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* dst, std::size_t n) const override;
    // The file as the descriptor found it when opened: device, inode, times.
    const struct stat& status() const { return status_; }

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
    struct stat status_ {};
};

// How a run of work over one file's icons reads ahead: four windows (one for
// the groups, others for their images) of at most 64 KiB, enough for the
// images of a few icons at a time.
constexpr std::size_t kReadAheadBytes = 64u << 10;
constexpr std::size_t kReadAheadWindows = 4;

// Serves small reads from windows of the source read ahead at once, so the
// dozen header and directory fields a count needs cost one or two system calls.
// A window is `window` bytes, or the range a reader said it expects when that
// is at most `largest`: a file of a few icons is read where its directory
// points and hardly further, however many icons the file holds. `windows` of
// them are kept, the least recently used replaced, so reads that go back and
// forth between a group and its images each stay in their own window. Reads
// larger than `largest` go straight through. Not for sharing between threads.
class BufferedSource : public ByteSource {
public:
    explicit BufferedSource(const ByteSource& inner, std::size_t window = 4096, std::size_t largest = 0,
                            std::size_t windows = 1);

    std::uint64_t size() const override { return inner_.size(); }
    bool read(std::uint64_t offset, void* dst, std::size_t n) const override;
    // Reads the window in as a read would; nullptr for a range larger than `largest`.
    const std::uint8_t* peek(std::uint64_t offset, std::size_t n) const override;
    // The next window that a read inside the range needs is the range itself,
    // when it is no larger than `largest`; the last range said counts.
    void expect(std::uint64_t offset, std::uint64_t n) const override;

private:
    struct Window {
        std::uint64_t start = 0;  // source offset of bytes[0]
        // Filled by the read alone: a vector would clear each one first.
        std::unique_ptr<std::uint8_t[]> bytes;
        std::size_t capacity = 0;
        std::size_t size = 0;
        std::uint64_t used = 0;   // when it last served a read
    };
    Window* fill(std::uint64_t offset, std::size_t n) const;

    const ByteSource& inner_;
    std::size_t window_;
    std::size_t largest_;
    mutable std::vector<Window> windows_;
    mutable std::uint64_t clock_ = 0;
    mutable std::uint64_t lastOffset_ = 0;
    mutable std::uint64_t expectedAt_ = 0;
    mutable std::uint64_t expected_ = 0;  // bytes; 0 for none
};

}  // namespace icons
