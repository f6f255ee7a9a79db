#include "HostForm.h"
#include "KeyModifiers.h"

#include "ControlsCollection.h"
#include "DisplayCache.h"
#include "Extender.h"
#include "HandlerGuard.h"
#include "Handles.h"
#include "OleColor.h"
#include "LateBound.h"
#include "Text.h"
#include "TypeNameInfo.h"
#include "GlimError.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace glim::host {

namespace {
const char* const kClass = "GlimHostForm";
const char* const kSource = "Form";
// "宋体", the default font of a form, in code page 936.
const char* const kDefaultFontName = "\xCB\xCE\xCC\xE5";

const DISPID kWidth = 1, kHeight = 2, kLeft = 3, kTop = 4, kScaleWidth = 5, kScaleHeight = 6, kIcon = 7,
             kControls = 8, kVisible = 9, kShow = 10, kHide = 11, kPopupMenu = 12, kSetFocus = 13;

// Forms of this thread, in load order.
thread_local std::vector<HostForm*> loadedForms;
// RunMessageLoop calls under way on this thread.
thread_local int loopDepth = 0;

// Every position and size a form gives goes through here: the resolution is
// the process's kept one, since a screen DC per call costs several round trips.
double ScreenTwipsPerPixel(int dpi) {
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

} // namespace

double HostForm::TwipsPerPixelX() {
    return ScreenTwipsPerPixel(CurrentDisplay().dpiX);
}

double HostForm::TwipsPerPixelY() {
    return ScreenTwipsPerPixel(CurrentDisplay().dpiY);
}

long HostForm::ToPixelsX(long twips) {
    return std::lrint(twips / TwipsPerPixelX());
}

long HostForm::ToPixelsY(long twips) {
    return std::lrint(twips / TwipsPerPixelY());
}

ComPtr<HostForm> HostForm::Create(const std::string& caption, long widthTwips, long heightTwips) {
    ComPtr<HostForm> form(new HostForm());
    form->CreateFormWindow(caption, widthTwips, heightTwips);
    return form;
}

HostForm::HostForm() {
    frame_ = ComPtr<InPlaceFrame>(new InPlaceFrame(this));
    const std::wstring face = Widen(kDefaultFontName, 936);
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.lpstrName = const_cast<LPOLESTR>(face.c_str());
    desc.cySize.int64 = 90000; // 9 points
    desc.sWeight = FW_NORMAL;
    desc.sCharset = GB2312_CHARSET;
    OleCreateFontIndirect(&desc, IID_IFontDisp, font_.put_void());
    PICTDESC pict{};
    pict.cbSizeofstruct = sizeof pict;
    pict.picType = PICTYPE_ICON;
    pict.icon.hicon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    // A system icon: shared, never destroyed by the picture.
    OleCreatePictureIndirect(&pict, IID_IPictureDisp, FALSE, icon_.put_void());
    BuildTable();
}

HostForm::~HostForm() {
    // No counted self-reference here: the count is already zero.
    UnloadNow();
    frame_->Detach();
    // Submenus belong to their items, not to the bar.
    RemoveAllItems(bar_.get());
}

ComPtr<ITypeInfo> HostForm::TypeInfo() {
    return TypeNameInfo::Create("Form", GUID_NULL, TKIND_COCLASS);
}

void HostForm::BuildTable() {
    table_.AddProperty("hWnd", DISPID_HWND, [this] { return Variant::Handle(hwnd_); });
    table_.AddProperty(
        "Width", kWidth, [this] { return Variant::Long(Width()); },
        [this](const Variant& v) { Move(Left(), Top(), v.ToLong(), Height()); });
    table_.AddProperty(
        "Height", kHeight, [this] { return Variant::Long(Height()); },
        [this](const Variant& v) { Move(Left(), Top(), Width(), v.ToLong()); });
    table_.AddProperty(
        "Left", kLeft, [this] { return Variant::Long(Left()); },
        [this](const Variant& v) { Move(v.ToLong(), Top(), Width(), Height()); });
    table_.AddProperty(
        "Top", kTop, [this] { return Variant::Long(Top()); },
        [this](const Variant& v) { Move(Left(), v.ToLong(), Width(), Height()); });
    table_.AddProperty("ScaleWidth", kScaleWidth, [this] { return Variant::Long(ScaleWidth()); });
    table_.AddProperty("ScaleHeight", kScaleHeight, [this] { return Variant::Long(ScaleHeight()); });
    table_.AddProperty(
        "BackColor", DISPID_BACKCOLOR, [this] { return Variant::Long(static_cast<long>(backColor_)); },
        [this](const Variant& v) { SetBackColor(static_cast<OLE_COLOR>(v.ToLong())); });
    table_.AddProperty(
        "ForeColor", DISPID_FORECOLOR, [this] { return Variant::Long(static_cast<long>(foreColor_)); },
        [this](const Variant& v) { SetForeColor(static_cast<OLE_COLOR>(v.ToLong())); });
    table_.AddProperty(
        "Caption", DISPID_CAPTION, [this] { return Variant::String(Caption()); },
        [this](const Variant& v) { SetCaption(v.ToText()); });
    table_.AddProperty(
        "Font", DISPID_FONT, [this] { return Variant::Object(font_.get()); },
        [this](const Variant& v) {
            ComPtr<IFontDisp> font;
            if (v.vt() == VT_DISPATCH && v.get()->pdispVal)
                v.get()->pdispVal->QueryInterface(IID_IFontDisp, font.put_void());
            if (!font) throw glim::Error(13, kSource, "Type mismatch");
            SetFont(font.get());
        });
    table_.AddProperty(
        "Icon", kIcon, [this] { return Variant::Object(icon_.get()); },
        [this](const Variant& v) {
            ComPtr<IPictureDisp> icon;
            if ((v.vt() == VT_DISPATCH || v.vt() == VT_UNKNOWN) && v.get()->punkVal)
                v.get()->punkVal->QueryInterface(IID_IPictureDisp, icon.put_void());
            if (!icon) throw glim::Error(13, kSource, "Type mismatch");
            SetIcon(icon.get());
        });
    table_.AddProperty("Controls", kControls, [this] { return Variant::Object(Controls().get()); });
    table_.AddProperty(
        "Visible", kVisible, [this] { return Variant::Bool(Visible()); },
        [this](const Variant& v) { v.ToBool() ? Show() : Hide(); });
    table_.AddMethod("Show", kShow, [this](const DispArgs&) {
        Show();
        return Variant();
    });
    table_.AddMethod("Hide", kHide, [this](const DispArgs&) {
        Hide();
        return Variant();
    });
    table_.AddMethod("SetFocus", kSetFocus, [this](const DispArgs&) {
        SetFocus();
        return Variant();
    });
    table_.AddMethod("PopupMenu", kPopupMenu, [this](const DispArgs& args) {
        const Variant item = args.Get(0);
        HostMenu* menu = nullptr;
        if (item.vt() == VT_DISPATCH) {
            for (const ComPtr<HostMenu>& m : menus_)
                if (static_cast<IDispatch*>(m.get()) == item.get()->pdispVal) menu = m.get();
        }
        if (!menu) throw glim::Error(13, kSource, "Type mismatch");
        const UINT flags = args.Has(1) ? static_cast<UINT>(args.Get(1).ToLong()) : 0;
        long x = 0, y = 0;
        const bool at = args.Has(2) && args.Has(3);
        if (at) {
            x = args.Get(2).ToLong();
            y = args.Get(3).ToLong();
        }
        PopupMenu(menu, flags, at ? &x : nullptr, at ? &y : nullptr);
        return Variant();
    });
}

void HostForm::CreateFormWindow(const std::string& caption, long widthTwips, long heightTwips) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = kClass;
        registered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    hwnd_ =
        CreateWindowExA(WS_EX_CONTROLPARENT, kClass, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        CW_USEDEFAULT, CW_USEDEFAULT, ToPixelsX(widthTwips), ToPixelsY(heightTwips), nullptr,
                        nullptr, GetModuleHandleA(nullptr), this);
    if (!hwnd_) throw glim::Error(7, kSource, "Out of memory: the form window could not be created");
    loadedForms.push_back(this);
    SetIcon(icon_.get());
}

HostForm* HostForm::FromWindow(HWND hwnd) {
    if (!hwnd) return nullptr;
    HWND root = GetAncestor(hwnd, GA_ROOT);
    for (HostForm* form : loadedForms)
        if (form->hwnd_ == root || form->hwnd_ == hwnd) return form;
    return nullptr;
}

long HostForm::Left() const {
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    return std::lrint(rc.left * TwipsPerPixelX());
}

long HostForm::Top() const {
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    return std::lrint(rc.top * TwipsPerPixelY());
}

long HostForm::Width() const {
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    return std::lrint((rc.right - rc.left) * TwipsPerPixelX());
}

long HostForm::Height() const {
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    return std::lrint((rc.bottom - rc.top) * TwipsPerPixelY());
}

void HostForm::Move(long left, long top, long width, long height) {
    if (!hwnd_) throw glim::Error(364, kSource, "Object was unloaded");
    MoveWindow(hwnd_, ToPixelsX(left), ToPixelsY(top), ToPixelsX(width), ToPixelsY(height), TRUE);
}

long HostForm::ScaleWidth() const {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    return std::lrint(rc.right * TwipsPerPixelX());
}

long HostForm::ScaleHeight() const {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    return std::lrint(rc.bottom * TwipsPerPixelY());
}

void HostForm::SetClientSize(long widthTwips, long heightTwips) {
    RECT rc{0, 0, ToPixelsX(widthTwips), ToPixelsY(heightTwips)};
    AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)),
                       GetMenu(hwnd_) != nullptr, static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
    // A size is no reason to activate a form that may still be hidden.
    SetWindowPos(hwnd_, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HostForm::KeepClientSize(const RECT& before) {
    if (IsIconic(hwnd_) || IsZoomed(hwnd_)) return;
    RECT after{}, outer{};
    GetClientRect(hwnd_, &after);
    GetWindowRect(hwnd_, &outer);
    const int dw = (before.right - before.left) - (after.right - after.left);
    const int dh = (before.bottom - before.top) - (after.bottom - after.top);
    if (dw == 0 && dh == 0) return;
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + dw, outer.bottom - outer.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HostForm::SetBackColor(OLE_COLOR color) {
    backColor_ = color;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
    BroadcastAmbient(DISPID_AMBIENT_BACKCOLOR);
}

void HostForm::SetForeColor(OLE_COLOR color) {
    foreColor_ = color;
    BroadcastAmbient(DISPID_AMBIENT_FORECOLOR);
}

void HostForm::SetFont(IFontDisp* font) {
    font_ = font;
    for (const ComPtr<ControlSite>& site : sites_)
        if (site->IsBuiltin() && site->Window())
            SendMessageA(site->Window(), WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
    BroadcastAmbient(DISPID_AMBIENT_FONT);
}

HFONT HostForm::FontHandle() const {
    HFONT handle = nullptr;
    if (auto font = font_.As<IFont>()) font->get_hFont(&handle);
    return handle;
}

std::string HostForm::Caption() const {
    if (!hwnd_) return {};
    const int n = GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(hwnd_, text.data(), n + 1);
    text.resize(static_cast<size_t>(got < 0 ? 0 : got));
    return text;
}

void HostForm::SetCaption(const std::string& caption) {
    if (hwnd_) SetWindowTextA(hwnd_, caption.c_str());
}

void HostForm::SetIcon(IPictureDisp* icon) {
    icon_ = icon;
    if (!hwnd_ || !icon_) return;
    auto picture = icon_.As<IPicture>();
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (!picture || FAILED(picture->get_Type(&type)) || type != PICTYPE_ICON ||
        FAILED(picture->get_Handle(&handle)))
        return;
    // The picture keeps owning the icon; the window only shows it.
    const auto hicon = reinterpret_cast<LPARAM>(HandleFromOle<HICON>(handle));
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, hicon);
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, hicon);
}

bool HostForm::Visible() const {
    return hwnd_ && IsWindowVisible(hwnd_);
}

void HostForm::Show() {
    if (!hwnd_) throw glim::Error(364, kSource, "Object was unloaded");
    if (IsWindowVisible(hwnd_)) {
        ShowWindow(hwnd_, SW_SHOW);
        UpdateWindow(hwnd_);
        return;
    }
    // Shown as ShowWindow would, but each control erases its background in
    // its paint: shown at once, and activated before painting, every control
    // got a DC to erase with and another to paint with, each DC several
    // round trips to the server.
    SendMessageA(hwnd_, WM_SHOWWINDOW, TRUE, 0);
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_DEFERERASE);
    UpdateWindow(hwnd_);
    SetForegroundWindow(hwnd_);
}

void HostForm::Hide() {
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void HostForm::SetFocus() {
    if (!Visible() || !IsWindowEnabled(hwnd_))
        throw glim::Error(5, kSource, "Invalid procedure call or argument");
    SetForegroundWindow(hwnd_);
    if (!FocusedSite()) ::SetFocus(hwnd_);
}

ComPtr<IDispatch> HostForm::Controls() {
    ComPtr<ControlsCollection> controls = ControlsCollection::Create(this);
    return ComPtr<IDispatch>(static_cast<IDispatch*>(controls.get()));
}

ComPtr<ControlSite> HostForm::AddControl(const std::string& classId, const std::string& name, long left,
                                         long top, long width, long height, MemoryPropertyBag* bag,
                                         const std::string& container) {
    if (!hwnd_) throw glim::Error(364, kSource, "Object was unloaded");
    if (name.empty() || Site(name)) throw glim::Error(360, kSource, "Object already loaded: " + name);
    ControlSite* holder = nullptr;
    if (!container.empty()) {
        holder = Site(container);
        if (!holder || !holder->Window()) throw glim::Error(5, kSource, "No container control " + container);
    }
    ComPtr<ControlSite> site = ControlSite::Create(this, name, holder);
    sites_.push_back(site);
    tabOrder_.push_back(site.get());
    try {
        site->Attach(classId, bag, left, top, width, height);
    } catch (...) {
        sites_.erase(
            std::find_if(sites_.begin(), sites_.end(), [&](const auto& s) { return s.get() == site.get(); }));
        tabOrder_.erase(std::find(tabOrder_.begin(), tabOrder_.end(), site.get()));
        ReleaseUnusedFactory(classId);
        throw;
    }
    // A new window goes below its siblings, so below the labels too.
    BuiltinControl* builtin = site->Builtin();
    if (HWND made = site->Window(); made && !(builtin && builtin->LiesBeneath()))
        RaiseAboveLabels(made, builtin && builtin->ShownByForm());
    return site;
}

ComPtr<IClassFactory> HostForm::ClassFactory(const std::string& classId) {
    // Every activation reads the class's keys in the registry again: a form
    // of many controls of few classes asks once per class.
    for (const auto& [name, factory] : factories_)
        if (name == classId) return factory;
    const std::wstring wide = Widen(classId);
    CLSID clsid{};
    const HRESULT found = classId.size() > 1 && classId[0] == '{' ? CLSIDFromString(wide.c_str(), &clsid)
                                                                  : CLSIDFromProgID(wide.c_str(), &clsid);
    ComPtr<IClassFactory> factory;
    if (FAILED(found) ||
        FAILED(CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.put_void())))
        return nullptr;
    factories_.emplace_back(classId, factory);
    return factory;
}

void HostForm::RaiseAboveLabels(HWND made, bool show) {
    // The labels of a container lie at its bottom in creation order, so the
    // first one made is the highest: one move puts the new window above it,
    // and shows it too when it was made hidden for that.
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : 0);
    const HWND parent = GetParent(made);
    for (const ComPtr<ControlSite>& s : sites_) {
        BuiltinControl* builtin = s->Builtin();
        HWND label = s->Window();
        if (!builtin || !builtin->LiesBeneath() || !label || GetParent(label) != parent) continue;
        const HWND above = GetWindow(label, GW_HWNDPREV);
        if (above != made) {
            SetWindowPos(made, above ? above : HWND_TOP, 0, 0, 0, 0, flags);
            return;
        }
        break;
    }
    if (show) SetWindowPos(made, nullptr, 0, 0, 0, 0, flags | SWP_NOZORDER);
}

void HostForm::RemoveControl(const std::string& name) {
    ControlSite* site = Site(name);
    if (!site) throw glim::Error(5, kSource, "No control " + name);
    // The controls it holds go first.
    std::vector<std::string> inner;
    for (const ComPtr<ControlSite>& s : sites_)
        if (s->Container() == site) inner.push_back(s->Name());
    for (const std::string& n : inner)
        RemoveControl(n);
    ComPtr<ControlSite> keep(site);
    if (uiActive_ == site) uiActive_ = nullptr;
    tabOrder_.erase(std::find(tabOrder_.begin(), tabOrder_.end(), site));
    sites_.erase(
        std::find_if(sites_.begin(), sites_.end(), [site](const auto& s) { return s.get() == site; }));
    keep->Close();
    ReleaseUnusedFactory(keep->ClassId());
}

void HostForm::ReleaseUnusedFactory(const std::string& classId) {
    // Held, a class object would keep its library loaded with no control of it left.
    if (std::none_of(sites_.begin(), sites_.end(), [&](const auto& s) { return s->ClassId() == classId; }))
        factories_.erase(std::remove_if(factories_.begin(), factories_.end(),
                                        [&](const auto& f) { return f.first == classId; }),
                         factories_.end());
}

ControlSite* HostForm::Site(const std::string& name) const {
    for (const ComPtr<ControlSite>& site : sites_)
        if (SameName(site->Name(), name)) return site.get();
    return nullptr;
}

std::vector<ControlSite*> HostForm::Sites() const {
    std::vector<ControlSite*> out;
    for (const ComPtr<ControlSite>& site : sites_)
        out.push_back(site.get());
    return out;
}

std::vector<ControlData> HostForm::Save() const {
    std::vector<ControlData> out;
    for (const ComPtr<ControlSite>& site : sites_) {
        ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
        site->Save(bag.get());
        out.push_back({site->Name(), site->ClassId(),
                       site->Container() ? site->Container()->Name() : std::string(), site->Left(),
                       site->Top(), site->Width(), site->Height(), bag});
    }
    return out;
}

std::vector<ControlSite*> HostForm::TabOrder() const {
    return tabOrder_;
}

long HostForm::TabIndexOf(const ControlSite* site) const {
    const auto it = std::find(tabOrder_.begin(), tabOrder_.end(), site);
    return it == tabOrder_.end() ? -1 : static_cast<long>(it - tabOrder_.begin());
}

void HostForm::SetTabIndex(ControlSite* site, long index) {
    const auto it = std::find(tabOrder_.begin(), tabOrder_.end(), site);
    if (it == tabOrder_.end()) return;
    tabOrder_.erase(it);
    // The others close up behind it, so indexes stay 0 .. n-1.
    const size_t at = std::min(static_cast<size_t>(index < 0 ? 0 : index), tabOrder_.size());
    tabOrder_.insert(tabOrder_.begin() + static_cast<std::ptrdiff_t>(at), site);
}

ControlSite* HostForm::FocusedSite() const {
    for (HWND hwnd = GetFocus(); hwnd && hwnd != hwnd_; hwnd = GetParent(hwnd)) {
        for (const ComPtr<ControlSite>& site : sites_)
            if (!site->Closed() && site->Window() == hwnd) return site.get();
    }
    return nullptr;
}

bool HostForm::MoveFocus(bool forward) {
    const std::vector<ControlSite*> order = tabOrder_;
    const size_t n = order.size();
    if (n == 0) return false;
    ControlSite* current = FocusedSite();
    const auto it = std::find(order.begin(), order.end(), current);
    const size_t start = it != order.end() ? static_cast<size_t>(it - order.begin()) : (forward ? n - 1 : 0);
    for (size_t k = 1; k <= n; ++k) {
        ControlSite* next = order[forward ? (start + k) % n : (start + n - k) % n];
        if (next->CanFocus() && next->Focus()) return true;
    }
    return false;
}

void HostForm::SetDefaultSite(ControlSite* site) {
    for (const ComPtr<ControlSite>& s : sites_)
        s->SetDefault(s.get() == site);
}

void HostForm::OnSiteUIActivate(ControlSite* site) {
    if (uiActive_ && uiActive_ != site) {
        ControlSite* previous = uiActive_;
        uiActive_ = site;
        previous->UIDeactivate();
    }
    uiActive_ = site;
}

ComPtr<HostMenu> HostForm::AddMenu(HostMenu* parent, const std::string& name, const std::string& caption) {
    if (Menu(name)) throw glim::Error(360, kSource, "Object already loaded: " + name);
    if (!bar_) bar_.reset(CreateMenu());
    ComPtr<HostMenu> menu = HostMenu::Create(this, parent, name, caption, nextCommand_++);
    menus_.push_back(menu);
    menu->Insert();
    MenuChanged();
    return menu;
}

HostMenu* HostForm::Menu(const std::string& name) const {
    for (const ComPtr<HostMenu>& menu : menus_)
        if (SameName(menu->Name(), name)) return menu.get();
    return nullptr;
}

std::vector<HostMenu*> HostForm::TopLevelMenus() const {
    std::vector<HostMenu*> top;
    for (const ComPtr<HostMenu>& menu : menus_)
        if (!menu->Parent()) top.push_back(menu.get());
    return top;
}

void HostForm::MenuChanged() {
    if (!hwnd_) return;
    const bool any = bar_ && GetMenuItemCount(bar_.get()) > 0;
    if (any != barShown_) {
        RECT before{};
        GetClientRect(hwnd_, &before);
        SetMenu(hwnd_, any ? bar_.get() : nullptr);
        barShown_ = any;
        KeepClientSize(before);
    }
    // Each redraw of the bar is a frame change, a dozen server requests: a
    // hidden form has one when it shows, whatever items came meanwhile.
    if (!IsWindowVisible(hwnd_)) {
        barStale_ = true;
        return;
    }
    RedrawMenuBar();
}

void HostForm::RedrawMenuBar() {
    barStale_ = false;
    DrawMenuBar(hwnd_);
    // A skinned frame took the bar off the window and draws it itself.
    if (barShown_ && GetMenu(hwnd_) != bar_.get())
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void HostForm::PopupMenu(HostMenu* menu, UINT flags, const long* x, const long* y) {
    if (!hwnd_ || !menu) return;
    const HMENU popup = menu->Popup();
    if (!popup || GetMenuItemCount(popup) <= 0) return;
    POINT pt{};
    if (x && y) {
        pt = {ToPixelsX(*x), ToPixelsY(*y)};
        ClientToScreen(hwnd_, &pt);
    } else {
        GetCursorPos(&pt);
    }
    ComPtr<HostForm> keep(this);
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(popup, (flags & ~TPM_NONOTIFY) | TPM_RETURNCMD, pt.x, pt.y, 0, hwnd_, nullptr));
    if (command) OnCommand(command);
}

void HostForm::OnCommand(UINT id) {
    for (const ComPtr<HostMenu>& menu : menus_) {
        if (menu->CommandId() == id) {
            ComPtr<HostMenu> keep(menu);
            keep->Click();
            return;
        }
    }
}

void HostForm::BroadcastAmbient(DISPID id) {
    std::vector<ComPtr<ControlSite>> sites = sites_;
    for (const ComPtr<ControlSite>& site : sites)
        site->AmbientChanged(id);
}

bool HostForm::PreTranslate(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    ComPtr<HostForm> keep(this);
    if (ControlSite* site = FocusedSite()) {
        ComPtr<ControlSite> active(site);
        inControlTranslate_ = true;
        handledInside_ = false;
        const bool used = active->TranslateActive(msg);
        inControlTranslate_ = false;
        if (used || handledInside_) return true;
    }
    return HandleContainerKey(msg, ModifiersNow());
}

bool HostForm::HandleContainerKey(MSG& msg, DWORD modifiers) {
    // A control handing a key back while it translates: handle it once.
    if (inControlTranslate_ && handledInside_) return true;
    const bool used = HandleTab(msg, modifiers) || HandleMnemonic(msg);
    if (inControlTranslate_ && used) handledInside_ = true;
    return used;
}

DWORD HostForm::ModifiersNow() {
    return (GetKeyState(VK_SHIFT) < 0 ? kKeyModShift : 0) |
           (GetKeyState(VK_CONTROL) < 0 ? kKeyModControl : 0) | (GetKeyState(VK_MENU) < 0 ? kKeyModAlt : 0);
}

bool HostForm::HandleTab(const MSG& msg, DWORD modifiers) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
    if (modifiers & (kKeyModControl | kKeyModAlt)) return false;
    return MoveFocus(!(modifiers & kKeyModShift));
}

bool HostForm::HandleMnemonic(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR &&
        msg.message != WM_SYSCHAR)
        return false;
    const std::vector<ControlSite*> order = tabOrder_;
    for (ControlSite* site : order) {
        ComPtr<ControlSite> keep(site);
        if (site->TranslateMnemonic(msg)) return true;
    }
    // Alt and a label's letter: the focus goes to the control after the label.
    if (msg.message != WM_SYSKEYDOWN) return false;
    const auto vk = static_cast<unsigned>(msg.wParam);
    if (!((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))) return false;
    const std::string key(1, static_cast<char>(std::tolower(static_cast<int>(vk))));
    for (size_t i = 0; i < order.size(); ++i) {
        BuiltinControl* builtin = order[i]->Builtin();
        if (!builtin || builtin->AccessKey() != key || !order[i]->Visible()) continue;
        for (size_t k = 1; k < order.size(); ++k) {
            ControlSite* next = order[(i + k) % order.size()];
            if (next->CanFocus() && next->Focus()) return true;
        }
        return true;
    }
    return false;
}

bool HostForm::PreTranslateAny(MSG& msg) {
    HostForm* form = FromWindow(msg.hwnd);
    return form && form->PreTranslate(msg);
}

// Messages are taken and dispatched as Unicode: an ANSI pump would turn a
// typed character the code page lacks into "?" before a text box sees it.
void HostForm::PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (PreTranslateAny(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int HostForm::RunMessageLoop() {
    ++loopDepth;
    MSG msg{};
    int code = 0;
    while (!loadedForms.empty()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            code = static_cast<int>(msg.wParam);
            break;
        }
        if (got < 0) break;
        if (PreTranslateAny(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    --loopDepth;
    return code;
}

size_t HostForm::LoadedForms() {
    return loadedForms.size();
}

void HostForm::Unload() {
    if (!hwnd_ || unloading_) return;
    ComPtr<HostForm> keep(this);
    UnloadNow();
}

void HostForm::UnloadNow() {
    if (!hwnd_ || unloading_) return;
    unloading_ = true;
    CloseSites();
    if (hwnd_) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    unloading_ = false;
}

void HostForm::CloseSites() {
    // Reverse order of creation: held controls go before their holders.
    while (!sites_.empty()) {
        ComPtr<ControlSite> site = sites_.back();
        sites_.pop_back();
        site->Close();
    }
    tabOrder_.clear();
    uiActive_ = nullptr;
    activeObject_.reset();
    for (const ComPtr<HostMenu>& menu : menus_)
        menu->Detach();
    factories_.clear();
}

void HostForm::Paint(HDC dc) {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    // Host properties store any colour; one that cannot be translated paints black.
    OwnedBrush brush(CreateSolidBrush(TranslateColor(backColor_).value_or(0)));
    FillRect(dc, &rc, brush.get());
}

LRESULT CALLBACK HostForm::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_ERASEBKGND:
        self->Paint(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_SHOWWINDOW:
        // Menu items added while hidden: the bar is laid out before it shows.
        if (wParam && self->barStale_) self->RedrawMenuBar();
        break;
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:
        // The broadcasts that make the kept resolution stale reach every form.
        ForgetDisplayMetrics();
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_COMMAND:
        if (lParam == 0) {
            ComPtr<HostForm> keep(self);
            self->OnCommand(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_SETFOCUS:
        // The form passes the focus on to its active control, or the first.
        if (self->uiActive_ && self->uiActive_->CanFocus())
            self->uiActive_->Focus();
        else
            self->MoveFocus(true);
        return 0;
    case WM_CLOSE: {
        ComPtr<HostForm> keep(self);
        if (std::function<bool()> ask = self->onQueryUnload_) {
            // One question at a time; a handler that fails keeps the form,
            // so what it guards stays.
            if (self->askingToClose_) return 0;
            bool close = false;
            self->askingToClose_ = true;
            RunHandler([&] { close = ask(); });
            self->askingToClose_ = false;
            if (!close) return 0;
        }
        self->Unload();
        return 0;
    }
    case WM_DESTROY:
        // The bar is the form's: the window must not destroy it with itself.
        if (self->barShown_ && GetMenu(hwnd) == self->bar_.get()) SetMenu(hwnd, nullptr);
        self->barShown_ = false;
        // Destroyed from outside: the controls still close properly.
        if (!self->unloading_) {
            ComPtr<HostForm> keep(self);
            self->unloading_ = true;
            self->CloseSites();
            self->unloading_ = false;
        }
        break;
    case WM_NCDESTROY: {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        loadedForms.erase(std::remove(loadedForms.begin(), loadedForms.end(), self), loadedForms.end());
        if (loadedForms.empty() && loopDepth > 0) PostQuitMessage(0);
        break;
    }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace glim::host
