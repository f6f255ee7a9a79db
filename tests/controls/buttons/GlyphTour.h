#pragma once
// Every glyph cell of a toggle on every skin, reached the way a person
// reaches it (values put through IDispatch, hover and press with the real
// mouse), read back from the screen and collected into a screenshot sheet.
#include "ToggleHarness.h"

#include <string>
#include <vector>

namespace toggletest {

struct ToggleKind {
    const char* cls;          // class name after "GlimFormControl."
    int firstSheet;           // resource of skin 0's sheet
    int rows, cols;           // the sheet's grid
    std::vector<long> values; // the values with a glyph row, in row order
    bool boolValue;           // Value is a Boolean (put as VT_BOOL)
};

// Runs the tour and writes screenshots/<file>; failures are test failures.
void TourEveryCell(const ToggleKind& kind, const std::string& file);

glim::Variant ValueVariant(const ToggleKind& kind, long v);

} // namespace toggletest
