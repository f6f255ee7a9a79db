#include "GlyphTour.h"

#include "Conversions.h"
#include "pump.h"
#include "screenshots.h"

#include <gtest/gtest.h>

namespace toggletest {

namespace {

constexpr int kShotW = 96; // one state of one control in the sheet
constexpr int kShotH = 18;

// Copies the control's client area into the sheet at a cell of the grid.
void Shoot(skingen::Raster& sheet, HWND hwnd, int col, int row) {
    sheet.CopyFrom(glimtest::CaptureClient(hwnd), 0, 0, kShotW - 2, kShotH - 2, col * kShotW + 1,
                   row * kShotH + 1);
}

} // namespace

glim::Variant ValueVariant(const ToggleKind& kind, long v) {
    return kind.boolValue ? glim::Variant::Bool(v != 0) : glim::Variant::Long(v);
}

void TourEveryCell(const ToggleKind& kind, const std::string& file) {
    ToggleForm form;
    glim::ComPtr<host::ControlSite> site = form.Add(kind.cls, "Toggle1", 300, 300);
    ASSERT_TRUE(site);
    IDispatch* d = site->ControlDispatch().get();
    const HWND hwnd = site->Window();
    ASSERT_EQ(Put(d, "Caption", glim::Variant::String(L"Glyph")), S_OK);
    MoveAway();
    const int states = 4;
    int presses = 0;
    skingen::Raster shots(kShotW * static_cast<int>(kind.values.size()) * states, kShotH * 24,
                          skingen::RGB8(255, 255, 255));
    for (int skin = 0; skin < 24; ++skin) {
        SCOPED_TRACE("skin " + std::to_string(skin));
        const std::vector<Cell> sheet = SheetCells(kind.firstSheet, skin, kind.rows, kind.cols);
        ASSERT_EQ(sheet.size(), static_cast<size_t>(kind.rows * kind.cols));
        ASSERT_EQ(Put(d, "Style", glim::Variant::Integer(static_cast<short>(skin))), S_OK);
        for (size_t row = 0; row < kind.values.size(); ++row) {
            const long v = kind.values[row];
            SCOPED_TRACE("value " + std::to_string(v));
            const int base = 4 * static_cast<int>(row);
            const int col = static_cast<int>(row) * states;
            ASSERT_EQ(Put(d, "Value", ValueVariant(kind, v)), S_OK);
            EXPECT_TRUE(WaitForCell(hwnd, sheet, base + 0)) << "normal";
            Shoot(shots, hwnd, col + 0, skin);

            // Presses alternate between two points too far apart to make a double click.
            const POINT at = ++presses % 2 ? POINT{3, 3} : POINT{9, 9};
            MoveTo(hwnd, at);
            EXPECT_TRUE(WaitForCell(hwnd, sheet, base + 1)) << "hover";
            Shoot(shots, hwnd, col + 1, skin);

            MouseButtons({MOUSEEVENTF_LEFTDOWN});
            EXPECT_TRUE(WaitForCell(hwnd, sheet, base + 2)) << "pressed";
            Shoot(shots, hwnd, col + 2, skin);
            // Released away from the control: no click, and the poll finds the pointer gone.
            MoveAway();
            MouseButtons({MOUSEEVENTF_LEFTUP});
            EXPECT_TRUE(WaitForCell(hwnd, sheet, base + 0)) << "back at rest";
            EXPECT_EQ(glim::ToLong(*Get(d, "Value")), v) << "no click";

            ASSERT_EQ(Put(d, "Enabled", glim::Variant::Bool(false)), S_OK);
            EXPECT_TRUE(WaitForCell(hwnd, sheet, base + 3)) << "disabled";
            Shoot(shots, hwnd, col + 3, skin);
            ASSERT_EQ(Put(d, "Enabled", glim::Variant::Bool(true)), S_OK);
        }
    }
    EXPECT_TRUE(glimtest::WriteShot(file, shots));
}

} // namespace toggletest
