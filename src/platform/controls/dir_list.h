#pragma once
#include <functional>
#include <optional>

#include "../event.h"
#include "control.h"

namespace platform {

// The folder view. Assigning a different Path moves it and raises Change
// before the setter returns. A path that does not name a readable folder fails
// and leaves the view where it was.
class DirList : public Control {
public:
    // Turns what was assigned (a folder, or a drive) into the folder to show,
    // given the folder shown now; nullopt when it cannot be opened.
    using Resolve = std::function<std::optional<std::string>(const std::string& current, const std::string& requested)>;

    DirList(std::string name, Control* container, Resolve resolve)
        : Control(std::move(name), container), resolve_(std::move(resolve)) {}

    const std::string& Path() const { return path_; }
    void setPath(const std::string& requested) {
        std::optional<std::string> target = resolve_ ? resolve_(path_, requested) : std::optional<std::string>(requested);
        if (!target) throw Failure("path not found: " + requested);
        if (*target == path_) return;
        path_ = *target;
        changed();
        Change.raise();
    }

    // From the view: the user opened a folder of the list. One that cannot
    // be opened (no longer there, not readable) is reported by OpenFailed
    // rather than by a failure, which no handler would hear.
    void UserOpen(const std::string& requested) {
        if (resolve_ && !resolve_(path_, requested)) {
            OpenFailed.raise(requested);
            return;
        }
        setPath(requested);
    }

    Event<> Change;
    Event<int, int, float, float> MouseUp;  // Button, Shift, X, Y
    Event<const std::string&> OpenFailed;   // the folder that could not be opened

private:
    Resolve resolve_;
    std::string path_;
};

}  // namespace platform
