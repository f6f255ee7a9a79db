#pragma once
// The skin side of GlimForm: its frame painter and the two skin pictures of
// its picture boxes pc (caption strip) and Pb (border tiles), applied to the
// host form from the library's bitmaps or from picture files.
#include <windows.h>
#include <ocidl.h>

#include <array>
#include <string>

#include "ComPtr.h"
#include "RefCounted.h"
#include "SkinResourceIds.h"

namespace glim {

// Only the skin's own source sees the painter; GlimForm talks to the skin.
class cNeoCaption;

// The frame geometry every skin shares, in pixels.
inline constexpr long kSkinButtonWidth = 19, kSkinButtonHeight = 20;
inline constexpr long kSkinActiveLeftEnd = 90, kSkinActiveRightStart = 140, kSkinActiveRightEnd = 240;
inline constexpr long kSkinInactiveOffset = 400;
// The registry value of the last skin: application GlimForm, section "Skin".
inline constexpr const char* kSkinSection = "Skin";
inline constexpr const char* kSkinIdxKey = "Idx";
// What "Idx" holds after a skin from files.
inline constexpr short kFileSkinIdx = 255;
// The message box of an unusable skin file: text and title.
inline constexpr const char* kBadSkinFileText =
    "\xCD\xBC\xC6\xAC\xB8\xF1\xCA\xBD\xB2\xBB\xD5\xFD\xC8\xB7,"
    "\xC7\xEB\xC9\xE8\xD6\xC3\xD2\xBB\xB8\xF6\xD5\xFD"
    "\xC8\xB7\xB5\xC4\xCE\xC4\xBC\xFE\xC2\xB7\xBE\xB6."; // 图片格式不正确,请设置一个正确的文件路径.
inline constexpr const char* kBadSkinFileTitle = "\xB8\xF1\xCA\xBD\xB2\xBB\xD5\xFD\xC8\xB7"; // 格式不正确

class GlimFormSkin : NonCopyable {
  public:
    // Creates the painter, which lives as long as the control.
    GlimFormSkin();
    ~GlimFormSkin();

    // The library's skin idx on form; idx below 0 becomes 0 for the caller
    // too, 255 and above 24 do nothing, an index without bitmaps raises.
    void LoadSkin(IDispatch* form, short MnuStyleIdx, short& idx);
    // A skin from two picture files; any failure shows the warning box and
    // leaves the form as it was.
    void SkinFormFile(IDispatch* form, short MnuStyleIdx, const std::string& MainPicFileName,
                      const std::string& BorderPicName);
    // Gives the form its own frame back.
    void CloseSkin();

    cNeoCaption* Painter() const { return painter_.get(); }

  private:
    void GlimForm_ApplySkin(IDispatch* form, short MnuStyleIdx, short idx);
    void GlimForm_LoadResSkin(IDispatch* form, short MnuStyleIdx, short& idx);
    // pc_ and Pb_ from the library's bitmaps of skin idx.
    void GlimForm_LoadResPictures(short idx);

    // The library's two pictures of one skin.
    struct SkinPictures {
        ComPtr<IPictureDisp> caption;
        ComPtr<IPictureDisp> border;
    };

    Ref<cNeoCaption> painter_; // the frame painter, re-attached by every skin
    ComPtr<IPictureDisp> pc_;  // caption skin picture
    ComPtr<IPictureDisp> Pb_;  // border skin picture
    // The library's pictures by skin index, as first loaded.
    std::array<SkinPictures, skinres::kSkinCount> loaded_;
};

} // namespace glim
