#pragma once
// The runtime error an action raises, for tests of the library's own code.
#include "GlimError.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

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

// Expects the action to raise a subclassing or timer error: its number,
// which is its own HRESULT, the library's source and the description.
inline void ExpectWindowProcError(const std::function<void()>& action, unsigned long number,
                                  const std::string& description) {
    try {
        action();
        ADD_FAILURE() << "raised nothing";
    } catch (const glim::Error& e) {
        EXPECT_EQ(static_cast<unsigned long>(e.Number()), number);
        EXPECT_EQ(e.ToHResult(), static_cast<HRESULT>(number));
        EXPECT_EQ(e.Source(), "GlimForm.WindowProc");
        EXPECT_EQ(e.Description(), description);
    }
}

} // namespace glimtest
