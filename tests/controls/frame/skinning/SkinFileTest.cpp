// SkinFormFile: a skin from two picture files, and the warning for files that
// cannot be one, which leaves the form's frame, lock and setting alone.
#include <gtest/gtest.h>

#include <olectl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "ImageFiles.h"
#include "settings_store.h"
#include "SkinResourceIds.h"
#include "SkinningHarness.h"
#include "pump.h"

namespace skintest {
namespace {

const char* const kWarningText =
    "\xCD\xBC\xC6\xAC\xB8\xF1\xCA\xBD\xB2\xBB\xD5\xFD\xC8\xB7,"
    "\xC7\xEB\xC9\xE8\xD6\xC3\xD2\xBB\xB8\xF6\xD5\xFD"
    "\xC8\xB7\xB5\xC4\xCE\xC4\xBC\xFE\xC2\xB7\xBE\xB6."; // 图片格式不正确,请设置一个正确的文件路径.
const char* const kWarningTitle = "\xB8\xF1\xCA\xBD\xB2\xBB\xD5\xFD\xC8\xB7"; // 格式不正确

std::string TempPath(const std::string& name) {
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + "glim-skinning-" + name;
}

// Pictures whose every pixel says where it is.
skingen::Raster CaptionRaster() {
    skingen::Raster r(640, 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 640; ++x)
            r.Set(x, y, skingen::RGB8(x & 0xFF, 0x40 + (x >> 8) * 16, 100 + y));
    return r;
}
skingen::Raster BorderRaster() {
    skingen::Raster r(70, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 70; ++x)
            r.Set(x, y, skingen::RGB8(3 * x, 0xE0, 20 * y));
    return r;
}

class SkinFile : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(skingen::WriteBmp24(TempPath("caption.bmp"), CaptionRaster()));
        ASSERT_TRUE(skingen::WriteBmp24(TempPath("border.bmp"), BorderRaster()));
        // The first 200 bytes of a good bitmap.
        std::ifstream in(TempPath("caption.bmp"), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(TempPath("truncated.bmp"), std::ios::binary).write(bytes.data(), 200);
        // A bitmap of 0 x 0 pixels.
        std::string empty = bytes.substr(0, 54);
        std::fill(empty.begin() + 18, empty.begin() + 26, '\0');
        std::ofstream(TempPath("empty.bmp"), std::ios::binary).write(empty.data(), 54);
        // An icon and a metafile: pictures, but not bitmaps.
        WriteIconFile(TempPath("icon.ico"));
        HDC meta = CreateEnhMetaFileA(nullptr, TempPath("picture.emf").c_str(), nullptr, nullptr);
        Rectangle(meta, 0, 0, 200, 100);
        DeleteEnhMetaFile(CloseEnhMetaFile(meta));
    }
    static void TearDownTestSuite() {
        for (const char* n :
             {"caption.bmp", "border.bmp", "truncated.bmp", "empty.bmp", "icon.ico", "picture.emf"})
            DeleteFileA(TempPath(n).c_str());
    }
    static void WriteIconFile(const std::string& path) {
        PICTDESC desc{};
        desc.cbSizeofstruct = sizeof desc;
        desc.picType = PICTYPE_ICON;
        desc.icon.hicon = LoadIconA(nullptr, MAKEINTRESOURCEA(32516));
        IPicture* picture = nullptr;
        ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPicture, FALSE, reinterpret_cast<void**>(&picture)),
                  S_OK);
        IStream* stream = nullptr;
        CreateStreamOnHGlobal(nullptr, TRUE, &stream);
        LONG size = 0;
        picture->SaveAsFile(stream, TRUE, &size);
        HGLOBAL memory = nullptr;
        GetHGlobalFromStream(stream, &memory);
        std::ofstream(path, std::ios::binary).write(static_cast<const char*>(GlobalLock(memory)), size);
        GlobalUnlock(memory);
        stream->Release();
        picture->Release();
    }

    void SetUp() override {
        glimtest::DeleteSettingSection("Skin");
        ASSERT_NE(form.Control(), nullptr);
    }
    void TearDown() override { glimtest::DeleteSettingSection("Skin"); }

    double MatchOfFiles() {
        const PictureReader caption(static_cast<HBITMAP>(
            LoadImageA(nullptr, TempPath("caption.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
        const PictureReader border(static_cast<HBITMAP>(
            LoadImageA(nullptr, TempPath("border.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
        return FrameMatch(form.hWnd(), caption, border);
    }
    double MatchOfSkin(int skin) {
        const PictureReader caption(SkinBitmap(glim::skinres::Caption(skin)));
        const PictureReader border(SkinBitmap(glim::skinres::Border(skin)));
        return FrameMatch(form.hWnd(), caption, border);
    }
    void Repaint() {
        RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    }

    SkinnedForm form;
};

TEST_F(SkinFile, TwoGoodFilesSkinTheFormAndStore255) {
    MessageBoxWatcher boxes;
    ASSERT_EQ(form.SkinFormFile(TempPath("caption.bmp"), TempPath("border.bmp")), S_OK);
    Repaint();
    EXPECT_EQ(MatchOfFiles(), 1.0);
    EXPECT_EQ(StoredIdx(), "255");
    EXPECT_TRUE(boxes.Boxes().empty());
    // A resource skin afterwards replaces it.
    short idx = 11;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    Repaint();
    EXPECT_EQ(MatchOfSkin(11), 1.0);
    EXPECT_EQ(StoredIdx(), "11");
}

TEST_F(SkinFile, FilesThatAreNoSkinWarnOnceAndChangeNothing) {
    short idx = 7;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    const std::string good = TempPath("border.bmp");
    struct Case {
        std::string caption, border;
    };
    const Case cases[] = {
        {TempPath("missing.bmp"), good},
        {TempPath("caption.bmp"), TempPath("missing.bmp")},
        {TempPath("icon.ico"), good},
        {TempPath("caption.bmp"), TempPath("picture.emf")},
        {TempPath("picture.emf"), good},
        {TempPath("truncated.bmp"), good},
        {TempPath("empty.bmp"), good},
        {TempPath("caption.bmp"), TempPath("icon.ico")},
        {"", good},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption + " + " + c.border);
        MessageBoxWatcher boxes;
        EXPECT_EQ(form.SkinFormFile(c.caption, c.border), S_OK);
        glimtest::PumpFor(50);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].title, kWarningTitle);
        EXPECT_EQ(boxes.Boxes()[0].text, kWarningText);
        EXPECT_EQ(StoredIdx(), "7");
        // The lock on window updates is free and the form answers at once.
        EXPECT_TRUE(LockWindowUpdate(form.hWnd()));
        LockWindowUpdate(nullptr);
        DWORD_PTR answer = 0;
        EXPECT_NE(SendMessageTimeoutA(form.hWnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0);
        Repaint();
        EXPECT_EQ(MatchOfSkin(7), 1.0) << "the current frame stays";
    }
}

TEST(SkinFileWithoutForm, WarnsAndReturnsNormally) {
    RegisterLibrary();
    glimtest::DeleteSettingSection("Skin");
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"GlimFormControl.GlimForm", &clsid), S_OK);
    glim::ComPtr<IDispatch> control;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.put_void()),
              S_OK);
    MessageBoxWatcher boxes;
    EXPECT_EQ(CallSkinFormFile(control.get(), TempPath("caption.bmp"), TempPath("border.bmp")), S_OK)
        << "no error reaches the caller";
    glimtest::PumpFor(50);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].title, kWarningTitle);
    EXPECT_EQ(StoredIdx(), "<none>");
}

} // namespace
} // namespace skintest
