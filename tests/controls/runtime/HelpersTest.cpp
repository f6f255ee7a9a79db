// Number conversions, settings, errors across COM, pictures and fonts.
#include "Conversions.h"
#include "Fonts.h"
#include "Pictures.h"
#include "RuntimeErrors.h"
#include "Settings.h"
#include "settings_store.h"
#include "Surface.h"
#include "Text.h"
#include "raised.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

using namespace glim;
using glimtest::ErrorNumberOf;

TEST(Conversions, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundToShort(3.5), 4);
    EXPECT_EQ(RoundToShort(4.5), 4);
    EXPECT_EQ(RoundToShort(-2.5), -2);
    EXPECT_EQ(RoundToShort(-3.5), -4);
    EXPECT_EQ(RoundToLong(2.4999), 2);
    EXPECT_EQ(RoundToLong(1e9 + 0.5), 1000000000);
    EXPECT_EQ(RoundToShort(32767.4), 32767);
    EXPECT_EQ(RoundToShort(-32768.5), -32768);
}

TEST(Conversions, ValuesThatDoNotFitRaiseOverflow) {
    EXPECT_EQ(ErrorNumberOf([] { RoundToShort(32767.5); }), 6);
    EXPECT_EQ(ErrorNumberOf([] { RoundToShort(-32769); }), 6);
    EXPECT_EQ(ErrorNumberOf([] { RoundToLong(2147483648.0); }), 6);
    EXPECT_EQ(ErrorNumberOf([] { RoundToLong(0.0 / 0.0); }), 6);
    EXPECT_EQ(ErrorNumberOf([] { ToShort(*Variant::Long(40000)); }), 6);
    EXPECT_EQ(ErrorNumberOf([] { ToLong(*Variant::String(L"abc")); }), 13);
}

TEST(Conversions, VariantsConvertLikeHostsDo) {
    EXPECT_EQ(ToShort(*Variant::Double(2.5)), 2);
    EXPECT_EQ(ToShort(*Variant::String(L"12")), 12);
    EXPECT_EQ(ToLong(*Variant::Bool(true)), -1);
    EXPECT_TRUE(ToBool(*Variant::Integer(-1)));
    EXPECT_FALSE(ToBool(*Variant::Integer(0)));
    EXPECT_EQ(ToText(*Variant::Long(255)), "255");
}

TEST(Settings, RoundTripWithDefaultsAndCaseInsensitiveNames) {
    glimtest::DeleteSettingSection("TestSection");
    EXPECT_EQ(GetSetting("TestSection", "Idx", "0"), "0");
    SaveSetting("TestSection", "idx", "12");
    EXPECT_EQ(GetSetting("TestSection", "Idx", "0"), "12");
    SaveSetting("TestSection", "Idx", "3");
    EXPECT_EQ(GetSetting("TestSection", "IDX", "0"), "3");
    // The value lives under the library's own key, as a string.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\GlimForm\\TestSection", 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    char buf[16] = {};
    DWORD size = sizeof buf, type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Idx", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(buf, "3");
    glimtest::DeleteSettingSection("TestSection");
    EXPECT_EQ(GetSetting("TestSection", "Idx", "dflt"), "dflt");
}

TEST(Errors, RaisedErrorsCrossComWithTheirInfo) {
    const HRESULT hr = ComCall(IID_IDispatch, [] { RaiseError(kErrInvalidPropertyValue); });
    EXPECT_EQ(hr, static_cast<HRESULT>(0x800A017C));
    const Error back = ErrorFromCom(hr);
    EXPECT_EQ(back.Number(), 380);
    EXPECT_EQ(back.Description(), "Invalid property value");
    EXPECT_EQ(back.Source(), kErrorSource);
    // Subclassing errors keep their full value.
    EXPECT_EQ(ComCall(IID_IDispatch,
                      [] { throw Error(static_cast<long>(0x80043319), "GlimForm.WindowProc", "x"); }),
              static_cast<HRESULT>(0x80043319));
}

TEST(Errors, AColourThatCannotBeDrawnIsRefusedWith380AndNotStored) {
    Surface s;
    s.SetBackColor(0x8000000F);
    for (const OLE_COLOR bad : {0x80FFFFFFu, 0x05000000u}) {
        try {
            s.SetBackColor(bad);
            ADD_FAILURE() << std::hex << bad << " was stored";
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), 380) << std::hex << bad;
        }
        EXPECT_EQ(s.BackColor(), 0x8000000Fu);
    }
}

TEST(Surfaces, ResizedBothWaysTheyKeepTheirPixelsAndFillNewPartsWithTheBackColour) {
    constexpr COLORREF kBack = RGB(10, 20, 30);
    const struct {
        POINT at;
        COLORREF color;
    } marks[] = {{{0, 0}, RGB(255, 0, 0)},
                 {{19, 0}, RGB(0, 255, 0)},
                 {{0, 9}, RGB(0, 0, 255)},
                 {{19, 9}, RGB(1, 2, 3)},
                 {{7, 4}, RGB(250, 251, 252)}};
    Surface s;
    s.SetBackColor(kBack);
    s.SetSize(20, 10);
    for (const auto& m : marks)
        SetPixel(s.hDC(), m.at.x, m.at.y, m.color);
    // Wider, taller, both, smaller (the bitmap keeps its size), both again.
    const SIZE steps[] = {{30, 10}, {30, 25}, {60, 50}, {5, 5}, {61, 51}};
    for (const SIZE& step : steps) {
        s.SetSize(step.cx, step.cy);
        SCOPED_TRACE(std::to_string(step.cx) + " x " + std::to_string(step.cy));
        for (const auto& m : marks)
            EXPECT_EQ(GetPixel(s.hDC(), m.at.x, m.at.y), m.color) << m.at.x << "," << m.at.y;
        EXPECT_EQ(GetPixel(s.hDC(), 29, 9), kBack);
        if (step.cy > 10) {
            EXPECT_EQ(GetPixel(s.hDC(), 0, 10), kBack);
            EXPECT_EQ(GetPixel(s.hDC(), 29, 24), kBack);
        }
    }
    EXPECT_EQ(GetPixel(s.hDC(), 60, 50), kBack);
}

TEST(Pictures, FilesLoadAndBadFilesRaiseTheirErrors) {
    EXPECT_FALSE(LoadPicture(""));
    EXPECT_EQ(ErrorNumberOf([] { LoadPicture("C:\\no\\such\\file.bmp"); }), 53);
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string bad = std::string(dir) + "glim_not_a_picture.bmp";
    {
        std::ofstream f(bad, std::ios::binary);
        f << "this is not a picture at all";
    }
    try {
        LoadPicture(bad);
        ADD_FAILURE() << "a text file loaded as a picture";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 481);
    }
    // A real 3 x 2 bitmap file, written here, comes back with its size and pixels.
    const std::string good = std::string(dir) + "glim_small.bmp";
    {
        BITMAPFILEHEADER fh{};
        BITMAPINFOHEADER ih{};
        ih.biSize = sizeof ih;
        ih.biWidth = 3;
        ih.biHeight = 2;
        ih.biPlanes = 1;
        ih.biBitCount = 24;
        const int stride = 12; // 9 bytes padded to 4
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof ih;
        fh.bfSize = fh.bfOffBits + stride * 2;
        std::ofstream f(good, std::ios::binary);
        f.write(reinterpret_cast<const char*>(&fh), sizeof fh);
        f.write(reinterpret_cast<const char*>(&ih), sizeof ih);
        const unsigned char rows[24] = {0,  0,  255, 0,  255, 0,  255, 0,  0,  0, 0, 0,
                                        10, 20, 30,  40, 50,  60, 70,  80, 90, 0, 0, 0};
        f.write(reinterpret_cast<const char*>(rows), sizeof rows);
    }
    ComPtr<IPictureDisp> pic = LoadPicture(good);
    ASSERT_TRUE(pic);
    EXPECT_EQ(PictureType(pic.get()), PICTYPE_BITMAP);
    const SIZE px = PictureSizePixels(pic.get());
    EXPECT_EQ(px.cx, 3);
    EXPECT_EQ(px.cy, 2);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(PictureHandle(pic.get()))));
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(255, 0, 0)); // bottom row first in the file
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(90, 80, 70));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteFileA(bad.c_str());
    DeleteFileA(good.c_str());
}

TEST(Pictures, MissingResourcesRaise326) {
    try {
        LoadResPicture(29999, kResBitmap);
        ADD_FAILURE() << "a missing resource loaded";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 326);
    }
}

TEST(Fonts, ClonesAreIndependent) {
    ComPtr<IFontDisp> f = CreateStdFont("Arial", 9);
    ComPtr<IFontDisp> c = CloneFont(f.get());
    ASSERT_TRUE(c);
    ComPtr<IFont> fi = f.As<IFont>(), ci = c.As<IFont>();
    ci->put_Bold(TRUE);
    BOOL bold = TRUE;
    fi->get_Bold(&bold);
    EXPECT_FALSE(bold);
    CY size{};
    fi->get_Size(&size);
    EXPECT_EQ(size.int64, 90000);
    EXPECT_NE(FontHandle(f.get()), nullptr);
}

TEST(Text, SystemCodePageRoundTrip) {
    const std::string gbk = "\xB8\xF1\xCA\xBD"; // "格式" in code page 936
    const std::wstring w = Widen(gbk);
    if (GetACP() == 936) {
        EXPECT_EQ(w, L"\u683C\u5F0F");
    }
    EXPECT_EQ(Narrow(w), gbk);
}

TEST(Text, AccessKeysAreTheWholeCharacterAfterASingleAmpersand) {
    const std::string que = Narrow(L"\u786E"), ding = Narrow(L"\u5B9A"); // "确", "定"
    constexpr size_t all = std::string::npos;
    const struct {
        std::string caption;
        size_t marks;
        std::string key;
    } cases[] = {
        {"&OK", all, "o"},         {"E&xit", all, "x"}, {"&&A", all, ""},       {"&" + que + ding, all, que},
        {"A&&&B", all, "b"},       {"Fish&", all, ""},  {"&&a&&b&c", all, "c"}, {"&&a&&b&c", 2, ""},
        {"Save && E&xit", 2, "x"}, {"", all, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AccessKeyOf(c.caption, c.marks), c.key) << c.caption << " " << c.marks;
}

TEST(Text, EmbeddedZerosSurviveBstrsAndVariants) {
    using namespace std::string_literals;
    for (const std::string& s : {""s, "\0"s, "a\0b"s, "\xB8\xF1\0\xCA\xBD\0"s}) {
        Bstr b;
        *b.put() = AllocBstr(s);
        EXPECT_EQ(b.Length(), Widen(s).size());
        EXPECT_EQ(NarrowBstr(b.get()), s);
        EXPECT_EQ(Variant::String(s).ToText(), s);
    }
}
