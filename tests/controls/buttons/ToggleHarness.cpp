#include "ToggleHarness.h"

#include "Registration.h"
#include "input.h"
#include "pump.h"
#include "screenshots.h"

#include <gtest/gtest.h>

namespace toggletest {

std::vector<Cell> SheetCells(int firstResource, int skin, int rows, int cols) {
    std::vector<Cell> cells;
    HMODULE dll = LoadLibraryExA(glimtest::GlimFormDllPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!dll) return cells;
    HBITMAP sheet = static_cast<HBITMAP>(
        LoadImageA(dll, MAKEINTRESOURCEA(firstResource + skin), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (sheet) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, sheet);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                Cell cell;
                for (int y = 0; y < kCell; ++y)
                    for (int x = 0; x < kCell; ++x)
                        cell.push_back(GetPixel(dc, c * kCell + x, r * kCell + y));
                cells.push_back(cell);
            }
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(sheet);
    }
    FreeLibrary(dll);
    return cells;
}

Cell ScreenCell(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    const skingen::Raster shown =
        glimtest::CaptureScreen({client.x, client.y, client.x + kCell, client.y + kCell});
    Cell cell;
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x) {
            const skingen::Rgb c = shown.At(x, y);
            cell.push_back(RGB(static_cast<int>(c.r), static_cast<int>(c.g), static_cast<int>(c.b)));
        }
    return cell;
}

std::vector<int> CellsMatching(const std::vector<Cell>& sheet, const Cell& shown) {
    std::vector<int> out;
    for (size_t i = 0; i < sheet.size(); ++i)
        if (sheet[i] == shown) out.push_back(static_cast<int>(i));
    return out;
}

bool WaitForCell(HWND hwnd, const std::vector<Cell>& sheet, int cell) {
    return glimtest::PumpUntil([&] {
        for (int i : CellsMatching(sheet, ScreenCell(hwnd, POINT{0, 0})))
            if (i == cell) return true;
        return false;
    });
}

void MoveTo(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    glimtest::MoveTo(client);
}

void MoveAway() {
    MoveTo(GetDesktopWindow(), POINT{GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5});
}

namespace {

DISPID IdOf(IDispatch* d, const std::string& name) {
    std::wstring w(name.size() + 1, L'\0');
    w.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, w.data(), static_cast<int>(w.size())) - 1));
    LPOLESTR n = w.data();
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(d->GetIDsOfNames(IID_NULL, &n, 1, 0, &id), S_OK) << name;
    return id;
}

} // namespace

glim::Variant Get(IDispatch* d, const std::string& name) {
    glim::Variant r;
    EXPECT_EQ(Invoke(d, IdOf(d, name), DISPATCH_PROPERTYGET, {}, r.get()), S_OK) << name;
    return r;
}

HRESULT Put(IDispatch* d, const std::string& name, const glim::Variant& value, EXCEPINFO* ei) {
    glim::Variant v(value);
    const WORD flags = v.vt() == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    return Invoke(d, IdOf(d, name), flags, {*v}, nullptr, ei);
}

ToggleForm::ToggleForm(long widthTwips, long heightTwips) {
    glimtest::RegisterLibraryOnce();
    form_ = host::HostForm::Create("Toggles", widthTwips, heightTwips);
    form_->Move(600, 600, widthTwips, heightTwips);
    form_->Show();
    SetForegroundWindow(form_->hWnd());
    glimtest::PumpPending();
}

ToggleForm::~ToggleForm() {
    if (form_ && form_->Loaded()) form_->Unload();
    form_.reset();
    glimtest::PumpPending();
}

glim::ComPtr<host::ControlSite> ToggleForm::Add(const std::string& cls, const std::string& name, long left,
                                                long top, glim::MemoryPropertyBag* bag,
                                                const std::string& container) {
    glim::ComPtr<host::ControlSite> site =
        form_->AddControl("GlimFormControl." + cls, name, left, top, 2400, 300, bag, container);
    if (site) Log(site.get());
    glimtest::PumpPending();
    return site;
}

} // namespace toggletest
