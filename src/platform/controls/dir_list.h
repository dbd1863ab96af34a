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

    Event<> Change;
    Event<int, int, float, float> MouseUp;  // Button, Shift, X, Y

private:
    Resolve resolve_;
    std::string path_;
};

}  // namespace platform
