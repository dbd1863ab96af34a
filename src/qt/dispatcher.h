#pragma once
// Every event the user raises goes through here. A failure that the window's
// logic lets through stops that one handler, never the program: the window
// stays usable, as it would if the toolkit had swallowed the error. Once the
// program has ended, input is dropped so that no handler runs after End, and
// a handler that was paused in a yield when End ran unwinds to here.

#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "platform/failure.h"

namespace platform_qt {

class Dispatcher {
public:
    explicit Dispatcher(std::function<bool()> ended = {}) : ended_(std::move(ended)) {}

    // Runs `handler`; false when it was dropped or failed.
    template <typename F>
    bool operator()(F&& handler) {
        if (ended_ && ended_()) return false;
        try {
            handler();
            return true;
        } catch (const platform::ProgramEnded&) {
            // The program is ending, not failing.
            return false;
        } catch (const std::exception& e) {
            ++failures_;
            lastFailure_ = e.what();
        } catch (...) {
            ++failures_;
            lastFailure_ = "unknown failure";
        }
        return false;
    }

    bool Ended() const { return ended_ && ended_(); }
    int Failures() const { return failures_; }
    const std::string& LastFailure() const { return lastFailure_; }

private:
    std::function<bool()> ended_;
    int failures_ = 0;
    std::string lastFailure_;
};

}  // namespace platform_qt
