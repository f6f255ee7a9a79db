// The tip field: system code page bytes, whole characters, blank padding and
// a terminator, as the shell receives it.
#include <gtest/gtest.h>

#include <string>

#include "API.h"
#include "TrayHarness.h"

namespace traytest {
namespace {

using glim::API_TrayTipField;

std::string FieldText(const std::array<char, glim::kTrayTipSize>& field) {
    return std::string(field.data(), field.size());
}

class TipField : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 936u) << "the tests run in the Chinese code page"; }
};

TEST_F(TipField, ShortTextIsPaddedWithBlanksAndTerminated) {
    const std::string text = FieldText(API_TrayTipField(L"Lyrics"));
    EXPECT_EQ(text, "Lyrics" + std::string(57, ' ') + '\0');
    EXPECT_EQ(FieldText(API_TrayTipField(L"")), std::string(63, ' ') + '\0');
}

TEST_F(TipField, LongTextKeepsWhatFitsBeforeTheTerminator) {
    std::wstring text;
    for (int i = 0; i < 80; ++i)
        text += static_cast<wchar_t>(L'A' + i % 26);
    const std::string field = FieldText(API_TrayTipField(text));
    std::string expected;
    for (int i = 0; i < 63; ++i)
        expected += static_cast<char>('A' + i % 26);
    EXPECT_EQ(field, expected + '\0');
}

TEST_F(TipField, ADoubleByteCharacterIsNeverCutInHalf) {
    // 62 single bytes, then 中文: the lead byte of 中 would be byte 63.
    const std::wstring text = std::wstring(62, L'x') + L"\x4E2D\x6587";
    const std::string field = FieldText(API_TrayTipField(text));
    EXPECT_EQ(field, std::string(62, 'x') + " " + '\0');

    // 61 single bytes: 中 fits whole, 文 does not.
    const std::string fits = FieldText(API_TrayTipField(std::wstring(61, L'x') + L"\x4E2D\x6587"));
    EXPECT_EQ(fits, std::string(61, 'x') + "\xD6\xD0" + '\0');
}

TEST_F(TipField, ChineseTextReachesTheShellWhole) {
    FakeTray tray;
    FormWindow form;
    auto formObject = Make<FormDouble>(form.hwnd());
    glim::API_AddTrayIcon(formObject.get(), nullptr);
    // 32 characters of 歌词 are 64 bytes: only 31 fit with the terminator.
    std::wstring lyrics;
    for (int i = 0; i < 16; ++i)
        lyrics += L"\x6B4C\x8BCD";
    glim::API_SetTrayTip(lyrics);
    glim::API_RemoveTrayIcon();
    std::wstring shown;
    for (const auto& r : tray.Requests())
        if (r.message == NIM_MODIFY) shown = r.tip;
    EXPECT_EQ(shown, lyrics.substr(0, 31) + L" ");
}

} // namespace
} // namespace traytest
