#pragma once
#include <vector>

#include "../event.h"
#include "control.h"

namespace platform {

// The drive chooser: on this system a drive is the root of a mounted file system.
class DriveList : public Control {
public:
    using Control::Control;
    const std::vector<std::string>& List() const { return list_; }
    void setList(std::vector<std::string> drives) { list_ = std::move(drives); changed(); }

    const std::string& Drive() const { return drive_; }
    // Choosing another drive raises Change; a handler that fails leaves the
    // choice to whoever chose (the view puts the old drive back).
    void setDrive(const std::string& d) {
        if (d == drive_) return;
        drive_ = d;
        changed();
        Change.raise();
    }
    // Sets the shown drive without raising Change (start-up, or putting a choice back).
    void showDrive(const std::string& d) { drive_ = d; changed(); }

    Event<> Change;

private:
    std::vector<std::string> list_;
    std::string drive_;
};

}  // namespace platform
