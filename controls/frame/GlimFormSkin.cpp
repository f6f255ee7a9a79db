#include "GlimFormSkin.h"

#include <olectl.h>

#include "Conversions.h"
#include "GlimError.h"
#include "Interaction.h"
#include "LateBound.h"
#include "Pictures.h"
#include "RuntimeErrors.h"
#include "Settings.h"
#include "SkinResourceIds.h"
#include "Text.h"
#include "cNeoCaption.h"

namespace glim {

namespace {

constexpr OLE_COLOR kFormBackColor = 0xE0E0E0;
constexpr const wchar_t* kSkinFontName = L"\x5B8B\x4F53"; // 宋体
constexpr long kSkinFontPoints = 9;
// The menu bar knows menu styles 0 to 30.
constexpr short kLastMenuStyle = 30;

void SetSkinFont(IFont* font) {
    if (!font) return;
    const Bstr name(kSkinFontName);
    font->put_Name(name.get());
    CY size{};
    size.int64 = kSkinFontPoints * 10000;
    font->put_Size(size);
}

ComPtr<IPicture> AsPicture(IPictureDisp* picture) {
    ComPtr<IPicture> p;
    if (picture) picture->QueryInterface(IID_IPicture, p.put_void());
    return p;
}

// The picture loader takes a bitmap file cut short and fills the missing
// rows with black; as a skin that is as broken as no picture at all.
void CheckBitmapFileComplete(const std::string& path) {
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return; // the loader reports a missing file itself
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    DWORD got = 0, gotInfo = 0;
    LARGE_INTEGER size{};
    const bool read = ReadFile(file, &fh, sizeof fh, &got, nullptr) && got == sizeof fh &&
                      ReadFile(file, &ih, sizeof ih, &gotInfo, nullptr) && GetFileSizeEx(file, &size);
    CloseHandle(file);
    if (!read || fh.bfType != 0x4D42) return; // not a bitmap file: the loader judges it
    if (gotInfo < sizeof ih || ih.biSize < sizeof ih || ih.biWidth <= 0 || ih.biHeight == 0)
        RaiseError(kErrInvalidPicture);
    if (ih.biCompression != BI_RGB && ih.biCompression != BI_BITFIELDS) return;
    const long long stride = ((static_cast<long long>(ih.biWidth) * ih.biBitCount + 31) / 32) * 4;
    const long long rows = ih.biHeight < 0 ? -static_cast<long long>(ih.biHeight) : ih.biHeight;
    if (static_cast<long long>(fh.bfOffBits) + stride * rows > size.QuadPart) RaiseError(kErrInvalidPicture);
}

} // namespace

GlimFormSkin::GlimFormSkin() : painter_(MakeRef<cNeoCaption>()) {}

GlimFormSkin::~GlimFormSkin() = default;

void GlimFormSkin::GlimForm_ApplySkin(IDispatch* form, short MnuStyleIdx, short idx) {
    painter_->put_ActiveCaptionColor(0xFFFFFF);
    painter_->put_InActiveCaptionColor(0xC0C0C0);
    painter_->put_ActiveMenuColor(0);
    painter_->put_ActiveMenuColorOver(0);
    painter_->put_InActiveMenuColor(0);
    painter_->put_MenuBackgroundColor(0xE0E0E0);
    SetSkinFont(painter_->get_CaptionFont().get());
    SetSkinFont(painter_->get_MenuFont().get());

    short menuStyle = 0;
    const bool ownStyle = MnuStyleIdx >= 0 && MnuStyleIdx <= kLastMenuStyle;
    if (ownStyle) {
        menuStyle = MnuStyleIdx;
    } else {
        try {
            menuStyle = ToShort(*Variant::String(GetSetting(kSkinSection, kSkinIdxKey, "0")));
        } catch (const Error&) {
            // A damaged setting must not keep every later skin from loading.
            menuStyle = 0;
        }
        // A stored file skin (255) has no menu style of its own: the first one.
        if (menuStyle < 0 || menuStyle > kLastMenuStyle) menuStyle = 0;
    }

    painter_->Attach(form, AsPicture(pc_.get()).get(), AsPicture(Pb_.get()).get(), kSkinButtonWidth,
                     kSkinButtonHeight, kSkinActiveLeftEnd, kSkinActiveRightStart, kSkinActiveRightEnd,
                     kSkinInactiveOffset, menuStyle, idx);
    // Written once the frame is in place: a skin that fails to attach
    // changes neither the form nor the setting.
    PutProperty(form, "BackColor", *Variant::Long(static_cast<long>(kFormBackColor)));
    if (ownStyle) SaveSetting(kSkinSection, "idx", std::to_string(MnuStyleIdx));
}

void GlimFormSkin::GlimForm_LoadResSkin(IDispatch* form, short MnuStyleIdx, short& idx) {
    if (idx < 0) idx = 0;
    if (idx == kFileSkinIdx || idx > skinres::kSkinCount) return;
    GlimForm_LoadResPictures(idx);
    GlimForm_ApplySkin(form, MnuStyleIdx, idx);
    SaveSetting(kSkinSection, kSkinIdxKey, std::to_string(idx));
}

void GlimFormSkin::GlimForm_LoadResPictures(short idx) {
    // A skin loaded again is the same bytes: each is decoded once per form.
    SkinPictures fresh;
    SkinPictures& art = idx < skinres::kSkinCount ? loaded_[static_cast<size_t>(idx)] : fresh;
    if (!art.caption) {
        ComPtr<IPictureDisp> caption = LoadResPicture(skinres::Caption(idx), kResBitmap);
        art.border = LoadResPicture(skinres::Border(idx), kResBitmap);
        art.caption = caption;
    }
    pc_ = art.caption;
    Pb_ = art.border;
}

void GlimFormSkin::LoadSkin(IDispatch* form, short MnuStyleIdx, short& idx) {
    GlimForm_LoadResSkin(form, MnuStyleIdx, idx);
}

void GlimFormSkin::SkinFormFile(IDispatch* form, short MnuStyleIdx, const std::string& MainPicFileName,
                                const std::string& BorderPicName) {
    try {
        // Without a form there is nothing to skin; the user gets the warning.
        if (!form) RaiseError(kErrObjectNotSet);
        CheckBitmapFileComplete(MainPicFileName);
        CheckBitmapFileComplete(BorderPicName);
        ComPtr<IPictureDisp> caption = LoadPicture(MainPicFileName);
        ComPtr<IPictureDisp> border = LoadPicture(BorderPicName);
        // Checked before anything of the form, the painter or the registry
        // changes, so a bad file leaves the current frame in place.
        cNeoCaption_ValidateSkinPictures(AsPicture(caption.get()).get(), AsPicture(border.get()).get());
        pc_ = caption;
        Pb_ = border;
        GlimForm_ApplySkin(form, MnuStyleIdx, 0);
        SaveSetting(kSkinSection, kSkinIdxKey, std::to_string(kFileSkinIdx));
    } catch (const std::exception&) {
        MsgBox(kBadSkinFileText, MB_OK | MB_ICONEXCLAMATION, kBadSkinFileTitle);
    }
}

void GlimFormSkin::CloseSkin() {
    painter_->Detach();
}

} // namespace glim
