#pragma once
#include "failure.h"

namespace platform {

// Runs one step of a procedure that goes on after a failing step: a failure is
// dropped and the caller carries on with its next step.
template <typename Step>
bool Guarded(Step&& step) {
    try {
        step();
        return true;
    } catch (const Failure&) {
        return false;
    }
}

}  // namespace platform
