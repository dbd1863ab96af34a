#include "open_icon_file.h"

#include "system_resources.h"

#include <sys/stat.h>

namespace icons {

struct OpenIconFile::State {
    std::string path;
    IconFileAt file;

    State(const std::string& p, OpenOptions options) : path(p), file(p, options) {}
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
    if (state_ && state_->path == path) {
        struct stat now {};
        if (::stat(path.c_str(), &now) == 0 && SameFile(state_->file.own().status(), now)) return &state_->file.icons();
    }
    // Another file, or this one replaced or changed since: opened and parsed as
    // it is now, and measured through the descriptor it is read by.
    close();
    auto fresh = std::make_unique<State>(path, options_);
    if (!fresh->file.ok()) return nullptr;
    state_ = std::move(fresh);
    return &state_->file.icons();
}

const IconFile* OpenIconFile::kept(const std::string& path) const {
    return state_ && state_->path == path ? &state_->file.icons() : nullptr;
}

std::string OpenIconFile::from() const { return state_ ? state_->file.from() : std::string(); }

void OpenIconFile::close() { state_.reset(); }

void OpenIconFile::setOptions(OpenOptions options) {
    if (options.cursors != options_.cursors) close();
    options_ = options;
}

}  // namespace icons
