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

// Expects the action to raise an error with this number, HRESULT, source
// and description.
inline void ExpectRaises(const std::function<void()>& action, unsigned long number, HRESULT hr,
                         const std::string& source, const std::string& description) {
    try {
        action();
        ADD_FAILURE() << "raised nothing";
    } catch (const glim::Error& e) {
        EXPECT_EQ(static_cast<unsigned long>(e.Number()), number);
        EXPECT_EQ(e.ToHResult(), hr);
        EXPECT_EQ(e.Source(), source);
        EXPECT_EQ(e.Description(), description);
    }
}

// A subclassing or timer error: its number is its own HRESULT, and the
// library's window procedure its source.
inline void ExpectWindowProcError(const std::function<void()>& action, unsigned long number,
                                  const std::string& description) {
    ExpectRaises(action, number, static_cast<HRESULT>(number), "GlimForm.WindowProc", description);
}

} // namespace glimtest
