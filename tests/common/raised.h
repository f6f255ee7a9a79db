#pragma once
// The runtime error an action raises, for tests of the library's own code.
#include "GlimError.h"

#include <functional>

namespace glimtest {

// The number of the runtime error the action raises; 0 when it raises none.
inline long ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const glim::Error& e) {
        return e.Number();
    }
    return 0;
}

} // namespace glimtest
