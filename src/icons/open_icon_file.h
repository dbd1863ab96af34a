#pragma once
// The icon file a run of work is on, kept open between calls. A load asks for
// its file's icons one at a time; keeping the file, its read-ahead window and
// its parsed directory from one icon to the next makes each icon cost its own
// few reads, not a fresh parse of the whole resource directory.

#include <memory>
#include <string>

#include "icon_file.h"

namespace icons {

class OpenIconFile {
public:
    OpenIconFile();
    ~OpenIconFile();
    OpenIconFile(const OpenIconFile&) = delete;
    OpenIconFile& operator=(const OpenIconFile&) = delete;

    // The file at `path`, parsed; the one kept from before when it is the same
    // file unchanged (same device, inode, size and change time). nullptr when
    // it cannot be opened. Valid until the next call.
    const IconFile* open(const std::string& path);
    // The file kept open for `path`, as it was measured when opened, without
    // measuring it again; nullptr when another file or none is open.
    const IconFile* kept(const std::string& path) const;
    // Where the kept file's icons came from, as IconFileAt::from says; "" for its own.
    std::string from() const;
    // Lets the descriptor and the buffers go.
    void close();
    // How files are opened from now on; a file kept open another way is let go.
    void setOptions(OpenOptions options);

private:
    struct State;
    std::unique_ptr<State> state_;
    OpenOptions options_;
};

}  // namespace icons
