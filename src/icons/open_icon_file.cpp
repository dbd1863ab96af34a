#include "open_icon_file.h"

#include <sys/stat.h>

namespace platform::icons {

struct OpenIconFile::State {
    std::string path;
    struct stat identity {};
    FileSource file;
    BufferedSource buffered;
    IconFile icons;

    explicit State(const std::string& p)
        : path(p), file(p), buffered(file, 4096, kReadAheadBytes, kReadAheadWindows), icons(buffered) {}
};

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

}  // namespace

OpenIconFile::OpenIconFile() = default;
OpenIconFile::~OpenIconFile() = default;

const IconFile* OpenIconFile::open(const std::string& path) {
    struct stat now {};
    if (::stat(path.c_str(), &now) != 0) {
        close();
        return nullptr;
    }
    if (state_ && state_->path == path && SameFile(state_->identity, now)) return &state_->icons;
    // The file is measured and parsed as it is now; a file replaced since is opened afresh.
    close();
    auto fresh = std::make_unique<State>(path);
    if (!fresh->file.ok()) return nullptr;
    fresh->identity = now;
    state_ = std::move(fresh);
    return &state_->icons;
}

const IconFile* OpenIconFile::kept(const std::string& path) const {
    return state_ && state_->path == path ? &state_->icons : nullptr;
}

void OpenIconFile::close() { state_.reset(); }

}  // namespace platform::icons
