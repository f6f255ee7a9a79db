#pragma once
// A top-level form that sites controls by class.  Its automation face is
// the form object controls see as their Parent ("Form").
#include "ControlSite.h"
#include "DispatchObject.h"
#include "HostMenu.h"
#include "InPlaceFrame.h"
#include "MemoryPropertyBag.h"

#include <functional>
#include <ocidl.h>
#include <olectl.h>
#include <string>
#include <utility>
#include <vector>

namespace glim::host {

// What the form stores of one control.
struct ControlData {
    std::string name;
    std::string classId;
    std::string container;         // name of the holding control, empty for the form
    long left, top, width, height; // twips
    ComPtr<MemoryPropertyBag> bag;
};

class HostForm : public DispatchObject<HostForm> {
  public:
    // A hidden form with an outer size in twips.
    static ComPtr<HostForm> Create(const std::string& caption, long widthTwips, long heightTwips);
    void* Find(REFIID iid) { return FindDispatch(iid); }
    // The form that owns a window (the form window or any window inside it).
    static HostForm* FromWindow(HWND hwnd);

    // The screen's twips per pixel.
    static double TwipsPerPixelX();
    static double TwipsPerPixelY();
    static long ToPixelsX(long twips);
    static long ToPixelsY(long twips);

    HWND hWnd() const { return hwnd_; }
    bool Loaded() const { return hwnd_ != nullptr; }
    long Left() const;
    long Top() const;
    long Width() const;
    long Height() const;
    void Move(long left, long top, long width, long height);
    long ScaleWidth() const;
    long ScaleHeight() const;
    // Sizes the form so that its client area has this size (twips).
    void SetClientSize(long widthTwips, long heightTwips);
    OLE_COLOR BackColor() const { return backColor_; }
    void SetBackColor(OLE_COLOR color);
    OLE_COLOR ForeColor() const { return foreColor_; }
    void SetForeColor(OLE_COLOR color);
    ComPtr<IFontDisp> Font() const { return font_; }
    void SetFont(IFontDisp* font);
    HFONT FontHandle() const;
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    ComPtr<IPictureDisp> Icon() const { return icon_; }
    void SetIcon(IPictureDisp* icon);
    bool Visible() const;
    void Show();
    void Hide();
    void SetFocus();
    ComPtr<IDispatch> Controls();

    // Sites a control; see ControlSite::Attach.  The container names a
    // control already on the form that holds the new one.
    ComPtr<ControlSite> AddControl(const std::string& classId, const std::string& name, long left, long top,
                                   long width, long height, MemoryPropertyBag* bag = nullptr,
                                   const std::string& container = "");
    void RemoveControl(const std::string& name);
    // The class object of an ActiveX control's class (a ProgID or a
    // "{CLSID}"), null when none is registered; kept while a control of the
    // class is on the form.
    ComPtr<IClassFactory> ClassFactory(const std::string& classId);
    ControlSite* Site(const std::string& name) const;
    // Sites in creation order.
    std::vector<ControlSite*> Sites() const;
    std::vector<ControlData> Save() const;

    // Sites in tab order; TabIndex is the position in it.
    std::vector<ControlSite*> TabOrder() const;
    long TabIndexOf(const ControlSite* site) const;
    void SetTabIndex(ControlSite* site, long index);
    // Moves the focus to the next (or previous) control that can take it.
    bool MoveFocus(bool forward);
    ControlSite* FocusedSite() const;
    void SetDefaultSite(ControlSite* site);

    ComPtr<HostMenu> AddMenu(HostMenu* parent, const std::string& name, const std::string& caption);
    HostMenu* Menu(const std::string& name) const;
    // Shows a menu's submenu at a client point in twips (the cursor when
    // no point is given) and runs the chosen item's click handler.
    void PopupMenu(HostMenu* menu, UINT flags = 0, const long* x = nullptr, const long* y = nullptr);
    // The bar handle: the same for the form's life, changed in place.
    HMENU MenuBarHandle() const { return bar_.get(); }
    std::vector<HostMenu*> TopLevelMenus() const;
    // A menu item changed: the window shows the bar when it has items.
    void MenuChanged();

    // Keys first go to the active control, then Tab moves the focus, then
    // access keys.  True when the message was used up.
    bool PreTranslate(MSG& msg);
    // Finds the form of msg.hwnd and lets it pre-translate.
    static bool PreTranslateAny(MSG& msg);
    // Dispatches pending messages through PreTranslateAny.
    static void PumpPending();
    // Runs until the last form is unloaded; returns the quit code.
    static int RunMessageLoop();
    static size_t LoadedForms();

    // Closes every control and destroys the window.
    void Unload();
    // Asked when the user closes the window; false keeps the form loaded.
    // The program's own Unload is not asked.
    void OnQueryUnload(std::function<bool()> handler) { onQueryUnload_ = std::move(handler); }

    // Called by the sites.
    void OnSiteUIActivate(ControlSite* site);
    void SetActiveObject(IOleInPlaceActiveObject* active) { activeObject_ = active; }
    ComPtr<IOleInPlaceFrame> Frame() const { return ComPtr<IOleInPlaceFrame>(frame_.get()); }
    // A key a control hands to its container; modifiers (kKeyMod flags) say
    // which of Shift, Ctrl and Alt go with it.
    bool HandleContainerKey(MSG& msg, DWORD modifiers);

  protected:
    ComPtr<ITypeInfo> TypeInfo() override;

  private:
    HostForm();
    ~HostForm() override;
    void CreateFormWindow(const std::string& caption, long widthTwips, long heightTwips);
    // The frame changed (a menu bar came or went): the window grows or
    // shrinks so that its client area keeps the size it had.
    void KeepClientSize(const RECT& before);
    void BuildTable();
    // Puts a new windowed control above the labels of its container and
    // shows it when show is set.
    void RaiseAboveLabels(HWND made, bool show);
    // Forgets the class object of a class no control on the form has.
    void ReleaseUnusedFactory(const std::string& classId);
    // Draws the bar again after its items changed.
    void RedrawMenuBar();
    void BroadcastAmbient(DISPID id);
    void CloseSites();
    void UnloadNow();
    bool HandleTab(const MSG& msg, DWORD modifiers);
    static DWORD ModifiersNow();
    bool HandleMnemonic(MSG& msg);
    void OnCommand(UINT id);
    void Paint(HDC dc);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;                    // the form window
    OLE_COLOR backColor_ = 0x8000000F;       // button face
    OLE_COLOR foreColor_ = 0x80000012;       // button text
    ComPtr<IFontDisp> font_;                 // ambient font of the controls
    ComPtr<IPictureDisp> icon_;              // form icon
    ComPtr<InPlaceFrame> frame_;             // frame object handed to activating controls
    std::vector<ComPtr<ControlSite>> sites_; // creation order
    std::vector<ControlSite*> tabOrder_;     // the same sites in tab order
    // Class objects by the class names sited.
    std::vector<std::pair<std::string, ComPtr<IClassFactory>>> factories_;
    OwnedMenu bar_;                                // menu bar; its items are removed before it goes
    bool barShown_ = false;                        // the window was given the bar
    bool barStale_ = false;                        // the bar changed while the form was hidden
    std::vector<ComPtr<HostMenu>> menus_;          // creation order
    UINT nextCommand_ = 100;                       // next menu command identifier
    ControlSite* uiActive_ = nullptr;              // the UI-active control, uncounted
    ComPtr<IOleInPlaceActiveObject> activeObject_; // what the active control handed the frame
    bool inControlTranslate_ = false;              // a control's TranslateAccelerator is running
    bool handledInside_ = false;                   // the control gave the key back and we used it
    bool unloading_ = false;
    std::function<bool()> onQueryUnload_; // the program's close question
    bool askingToClose_ = false;          // onQueryUnload_ is running
};

} // namespace glim::host
