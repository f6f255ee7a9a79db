#pragma once
// A small control built on the runtime for tests: it wears the check box's
// dual interface, reports whatever coclass name its class gives it, raises
// the runtime's input events to its sinks and records what it was told.
#include "ControlBase.h"
#include "GlimFormControl.h"

#include <string>
#include <vector>

namespace glimtest {

// A class the probe can be registered as: its own CLSID, the coclass of
// the type library whose name it reports.
struct ProbeClass {
    glim::ControlClass cls;
    const CLSID* reportedCoclass;
};

// Event identifiers the probe raises (those of the check box, plus DblClick).
namespace probe_events {
inline constexpr DISPID Click = dispid::GlimCheck_events::Click;
inline constexpr DISPID DblClick = -601;
inline constexpr DISPID KeyDown = dispid::GlimCheck_events::KeyDown;
inline constexpr DISPID KeyPress = dispid::GlimCheck_events::KeyPress;
inline constexpr DISPID KeyUp = dispid::GlimCheck_events::KeyUp;
inline constexpr DISPID MouseDown = dispid::GlimCheck_events::MouseDown;
inline constexpr DISPID MouseMove = dispid::GlimCheck_events::MouseMove;
inline constexpr DISPID MouseUp = dispid::GlimCheck_events::MouseUp;
} // namespace probe_events

// The description of the error put Style raises.
extern const char kStyleRefused[];

class ProbeControl final : public glim::Control<ProbeControl, _GlimCheck> {
  public:
    // Classes reporting "GlimCheck", "GlimButton" and "GlimContainr".
    static const ProbeClass& CheckClass();
    static const ProbeClass& ButtonClass();
    static const ProbeClass& ContainerClass();
    // Registers the three class objects with COM for this thread.
    static void RegisterClasses();
    static void RevokeClasses();
    static std::string ClsidText(const ProbeClass& cls);

    // The live probe owning a window, or null.
    static ProbeControl* FromWindow(HWND hwnd);
    static size_t LiveCount();
    // What probes did after their own events returned, and their ends, in order.
    static std::vector<std::string>& Log();

    // _GlimCheck
    STDMETHODIMP get_Enabled(VARIANT_BOOL* pVal) override;
    STDMETHODIMP put_Enabled(VARIANT_BOOL New_Enabled) override;
    STDMETHODIMP get_Value(State* pVal) override;
    STDMETHODIMP put_Value(State New_Value) override;
    STDMETHODIMP get_Caption(BSTR* pVal) override;
    STDMETHODIMP put_Caption(BSTR New_Caption) override;
    STDMETHODIMP get_Font(IFontDisp** pVal) override;
    STDMETHODIMP putref_Font(IFontDisp* New_Font) override;
    STDMETHODIMP get_BackColor(OLE_COLOR* pVal) override;
    STDMETHODIMP put_BackColor(OLE_COLOR New_BackColor) override;
    STDMETHODIMP get_ForeColor(OLE_COLOR* pVal) override;
    STDMETHODIMP put_ForeColor(OLE_COLOR New_ForeColor) override;
    STDMETHODIMP get_Style(MnuStyle* pVal) override;
    STDMETHODIMP put_Style(MnuStyle New_Style) override;

    // What the test sets up.
    long fixedHeightTwips = 0;     // Resize keeps this height when non-zero
    long styleError = 0;           // put Style raises this run-time error when non-zero
    std::string notifyName;        // put Value reports this name as changed
    void PaintSurface(COLORREF c); // fills the surface and shows it

    // What happened.
    std::vector<long> stylePuts;   // values put into Style, in order
    std::string typed;             // characters left after the KeyPress handlers
    std::vector<short> keysDown;   // key codes left after the KeyDown handlers
    std::vector<short> accessKeys; // access keys the container reported
    int clicks = 0;
    int dblClicks = 0;
    int resizes = 0;
    std::vector<DISPID> ambientChanges;
    long lastMouseDownButton = 0;
    float lastMouseDownX = 0;
    float lastMouseDownY = 0;
    short buttonAfterMouseDown = 0; // MouseDown's arguments once the host's handlers ran
    float xAfterMouseDown = 0;
    HWND captureAtMouseDown = nullptr; // GetCapture() while MouseDown ran

  protected:
    void OnInitProperties() override;
    void OnResize() override;
    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;
    void OnClick() override;
    void OnDblClick() override;
    void OnKeyDown(short& keyCode, short shift) override;
    void OnKeyPress(short& keyAscii) override;
    void OnKeyUp(short& keyCode, short shift) override;
    void OnAccessKeyPress(short keyAscii) override;
    void OnAmbientChanged(DISPID id) override;

  private:
    friend struct ProbeFactory;
    explicit ProbeControl(const ProbeClass& cls);
    ~ProbeControl() override;

    std::string caption_;
    short value_ = 0;
    short style_ = 0;
    glim::ComPtr<IFontDisp> font_;
    bool inResize_ = false;
};

} // namespace glimtest
