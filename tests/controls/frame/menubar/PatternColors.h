#pragma once
// The popup patterns of styles 0 and 1 the tests draw with: 6 x 3 pixels,
// each of its own colour, written to bitmap files at build time.
#include <windows.h>

namespace mbtest {

constexpr int kPatternW = 6, kPatternH = 3;

inline COLORREF Pattern0(int x, int y) {
    return RGB(20 + 10 * (x % kPatternW), 100 + 20 * (y % kPatternH), 60);
}
inline COLORREF Pattern1(int x, int y) {
    return RGB(60, 20 + 10 * (x % kPatternW), 100 + 20 * (y % kPatternH));
}

} // namespace mbtest
