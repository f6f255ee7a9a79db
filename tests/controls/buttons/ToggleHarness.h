#pragma once
// The check box and the option button on a real host form: creation by
// ProgID, dispatch by name and identifier, real mouse input at painted
// positions and the glyph pixels read back from the screen.
#include "ComPtr.h"
#include "GlimFormControl.h"
#include "HostForm.h"
#include "SiteRecorder.h"
#include "dispatch.h"
#include "input.h"

#include <string>
#include <vector>

namespace toggletest {

namespace host = glim::host;
using glim::Variant;

// One 13 x 13 glyph cell as 0x00RRGGBB values, row by row.
using Cell = std::vector<COLORREF>;
inline constexpr int kCell = 13;

// The cells of a skin's sheet as GlimForm.dll carries it (12 for the check
// box, 8 for the option button).
std::vector<Cell> SheetCells(int firstResource, int skin, int rows, int cols);
// The 13 x 13 pixels on screen at a client point of a window.
Cell ScreenCell(HWND hwnd, POINT client);
// Indices of the sheet cells equal to what is shown.
std::vector<int> CellsMatching(const std::vector<Cell>& sheet, const Cell& shown);
// Waits until the glyph at the window's top-left corner shows cell `cell`
// of the sheet (or one equal to it); true when it does within the deadline.
bool WaitForCell(HWND hwnd, const std::vector<Cell>& sheet, int cell);

// Real input: the pointer moved to a client point of a window, then buttons
// pressed or released there.
void MoveTo(HWND hwnd, POINT client);
using glimtest::MouseButtons;
// Far from every test form.
void MoveAway();

// Property access through IDispatch by identifier or by name.
using glimtest::Invoke;
glim::Variant Get(IDispatch* d, const std::string& name);
HRESULT Put(IDispatch* d, const std::string& name, const glim::Variant& value, EXCEPINFO* ei = nullptr);

// A shown host form for the tests of one case.
class ToggleForm {
  public:
    ToggleForm(long widthTwips = 7000, long heightTwips = 5000);
    ~ToggleForm();
    host::HostForm* Form() const { return form_.get(); }
    glim::ComPtr<host::ControlSite> Add(const std::string& cls, const std::string& name, long left, long top,
                                        glim::MemoryPropertyBag* bag = nullptr,
                                        const std::string& container = "");
    // The events and notifications of a control, recorded since it was added.
    glimtest::SiteRecorder& Log(host::ControlSite* site) { return recorders_.Of(site); }

  private:
    glim::ComPtr<host::HostForm> form_;
    glimtest::SiteRecorders recorders_;
};

} // namespace toggletest
