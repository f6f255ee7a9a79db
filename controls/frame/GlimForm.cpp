#include "GlimForm.h"

#include "API.h"
#include "Conversions.h"
#include "Interaction.h"
#include "LateBound.h"
#include "Pictures.h"
#include "Screen.h"
#include "SkinResourceIds.h"
#include "Text.h"

#include <string>

namespace glim {

namespace {

// The control's size is that of its design picture box: 480 x 480 twips.
constexpr long kPicture1Size = 480;
// MiniSize(True) shrinks the form to this size (twips).
constexpr long kMiniWidth = 3100;
constexpr long kMiniHeight = 900;

// The controls AutoSkinControl hands the skin index to.
constexpr const char* kSkinnedTypes[] = {"GlimButton", "GlimPressBar", "GlimCheck", "GlimOption",
                                         "GlimSlider"};

void EmptyResult(VARIANT* pRetVal) {
    if (pRetVal) VariantInit(pRetVal);
}

} // namespace

const ControlClass GlimForm::kClass = ClassRecord(skinres::Toolbox(skinres::ToolboxImage::Form), SIZE{32, 32},
                                                  kControlMiscStatus, &CLSID_PropertyPage1);

const Binding<GlimForm> GlimForm::kBindings[] = {
    {"TmpColor", &GlimForm::TmpColor, nullptr, nullptr, kQuiet},
    {"MnuStyleIdx", &GlimForm::MnuStyleIdx},
};

GlimForm::GlimForm() : Control(kClass, kBindings) {}

void GlimForm::OnInitialize() {
    picture1 = LoadResPicture(skinres::kFormDesign, kResBitmap);
    ShowPicture(picture1.get());
}

void GlimForm::OnResize() {
    KeepSize(kPicture1Size, kPicture1Size);
}

STDMETHODIMP GlimForm::LoadSkin(short* idx, VARIANT* pRetVal) {
    EmptyResult(pRetVal);
    if (!idx) return E_POINTER;
    return Member([&] { skin.LoadSkin(ParentForm().get(), MnuStyleIdx, *idx); });
}

STDMETHODIMP GlimForm::SkinFormFile(BSTR* MainPicFileName, BSTR* BorderPicName, VARIANT* pRetVal) {
    EmptyResult(pRetVal);
    if (!MainPicFileName || !BorderPicName) return E_POINTER;
    return Member([&] {
        // No error reaches the caller: a control with no form gets the warning.
        ComPtr<IDispatch> form;
        try {
            form = ParentForm();
        } catch (const Error&) {
        }
        skin.SkinFormFile(form.get(), MnuStyleIdx, NarrowBstr(*MainPicFileName), NarrowBstr(*BorderPicName));
    });
}
STDMETHODIMP GlimForm::CloseSkin(VARIANT* pRetVal) {
    EmptyResult(pRetVal);
    return Member([&] { skin.CloseSkin(); });
}
STDMETHODIMP GlimForm::AddToTry(IDispatch** Menu, BSTR* ToolTip, VARIANT* pRetVal) {
    EmptyResult(pRetVal);
    if (!Menu || !ToolTip) return E_POINTER;
    return Member([&] {
        API_AddTrayIcon(ParentForm().get(), *Menu);
        API_SetTrayTip(std::wstring(*ToolTip ? *ToolTip : L"", SysStringLen(*ToolTip)));
    });
}
STDMETHODIMP GlimForm::UnloadTryIcon(VARIANT* pRetVal) {
    EmptyResult(pRetVal);
    return Member([&] { API_RemoveTrayIcon(); });
}

HWND GlimForm::FormWindow() const {
    return GetProperty(ParentForm().get(), "hWnd").ToHandle();
}

STDMETHODIMP GlimForm::MiniSize(VARIANT_BOOL* SetMiniSize, VARIANT* pRetVal) {
    EmptyResult(pRetVal);
    if (!SetMiniSize) return E_POINTER;
    return Member([&] {
        ComPtr<IDispatch> form = ParentForm();
        if (*SetMiniSize) {
            // A second shrink keeps the size from before the first one.
            if (!shrunk) {
                const long w = ToLong(*GetProperty(form.get(), "Width"));
                const long h = ToLong(*GetProperty(form.get(), "Height"));
                savedWidth = w;
                savedHeight = h;
                sizeSaved = true;
            }
            PutProperty(form.get(), "Width", *Variant::Long(kMiniWidth));
            PutProperty(form.get(), "Height", *Variant::Long(kMiniHeight));
            shrunk = true;
        } else if (sizeSaved) {
            // Every restore goes back to the stored size; with nothing
            // stored there is nothing to go back to and the form stays.
            PutProperty(form.get(), "Width", *Variant::Long(savedWidth));
            PutProperty(form.get(), "Height", *Variant::Long(savedHeight));
            shrunk = false;
        }
    });
}

STDMETHODIMP GlimForm::SetWindowOnTop(VARIANT_BOOL* SetOntop, VARIANT* pRetVal) {
    EmptyResult(pRetVal);
    if (!SetOntop) return E_POINTER;
    return Member([&] {
        // Only True (-1) counts as on top.
        SetWindowPos(FormWindow(), *SetOntop == VARIANT_TRUE ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE);
    });
}

STDMETHODIMP GlimForm::DoRndForm(VARIANT* pRetVal) {
    EmptyResult(pRetVal);
    return Member([&] {
        ComPtr<IDispatch> form = ParentForm();
        const HWND hwnd = GetProperty(form.get(), "hWnd").ToHandle();
        const long w = RoundToLong(ToDouble(*GetProperty(form.get(), "Width")) / TwipsPerPixelX());
        const long h = RoundToLong(ToDouble(*GetProperty(form.get(), "Height")) / TwipsPerPixelY());
        OwnedRegion rgn(CreateRoundRectRgn(0, 0, w + 1, h + 1, 3, 3));
        if (!rgn) RaiseError(kErrOutOfMemory);
        // The window owns the region from here on.
        if (SetWindowRgn(hwnd, rgn.get(), TRUE)) rgn.release();
    });
}

STDMETHODIMP GlimForm::AutoSkinControl(VARIANT* pRetVal) {
    EmptyResult(pRetVal);
    return Member([&] {
        try {
            ComPtr<IDispatch> form = ParentForm();
            ComPtr<IDispatch> controls = ObjectOf(*GetProperty(form.get(), "Controls"));
            for (const ComPtr<IDispatch>& control : CollectionItems(controls.get())) {
                const std::string type = TypeName(control.get());
                for (const char* skinned : kSkinnedTypes) {
                    if (type != skinned) continue;
                    PutProperty(control.get(), "Style", *Variant::Integer(MnuStyleIdx));
                    break;
                }
            }
        } catch (const Error& e) {
            MsgBox(std::to_string(e.Number()) + e.Description(), MB_OK);
        }
    });
}

} // namespace glim
