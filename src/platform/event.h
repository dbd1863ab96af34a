#pragma once
// A control's event: one handler, raised synchronously by the control itself.
#include <functional>
#include <utility>

namespace platform {

template <typename... Args>
class Event {
public:
    using Handler = std::function<void(Args...)>;

    void connect(Handler h) { handler_ = std::move(h); }
    // A copy keeps the handler alive should it reconnect the event while it runs.
    void raise(Args... args) const {
        if (!handler_) return;
        Handler h = handler_;
        h(args...);
    }

private:
    Handler handler_;
};

}  // namespace platform
