#include "LyricsDocument.h"

#include <gtest/gtest.h>

using namespace versolo;

namespace {

TEST(LyricsDocument, CaptureTextPadsTheMilliseconds) {
    const struct {
        long ms;
        const wchar_t* text;
    } cases[] = {
        {0, L"0:0.000"},     {1, L"0:0.001"},        {59999, L"0:59.999"},
        {60000, L"1:0.000"}, {65005, L"1:5.005"},    {65500, L"1:5.500"},
        {65050, L"1:5.050"}, {3600000, L"60:0.000"}, {2147483647, L"35791:23.647"},
        {-5, L"0:0.000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, CaptureText(c.ms)) << c.ms;
}

TEST(LyricsDocument, AddLineAppendsOrRefuses) {
    const struct {
        const wchar_t *doc, *time, *text, *after;
        bool added;
    } cases[] = {
        {L"", L"1:5.500", L"la", L"[1:5.500]la", true},
        {L"[0:1.000]a", L"0:2.000", L"b", L"[0:1.000]a\r\n[0:2.000]b", true},
        // The time is taken as typed.
        {L"", L"abc", L"x", L"[abc]x", true},
        {L"[0:1.000]a", L"", L"b", L"[0:1.000]a", false},
        {L"[0:1.000]a", L"0:2.000", L"", L"[0:1.000]a", false},
        {L"", L"", L"", L"", false},
    };
    for (const auto& c : cases) {
        std::wstring doc = c.doc, time = c.time, text = c.text;
        EXPECT_EQ(c.added, AddLine(doc, time, text)) << c.after;
        EXPECT_EQ(c.after, doc);
        // Both fields are emptied only when the line went in.
        EXPECT_EQ(c.added ? L"" : std::wstring(c.time), time);
        EXPECT_EQ(c.added ? L"" : std::wstring(c.text), text);
    }
}

TEST(LyricsDocument, ConfirmCopiesAllFiveOrKeepsTheOld) {
    const HeaderFields old{L"t0", L"b0", L"a0", L"al0", L"0"};
    const struct {
        HeaderFields boxes;
        bool accepted;
    } cases[] = {
        {{L"", L"", L"", L"", L""}, false},
        {{L"", L"", L"", L"", L"200"}, true},
        {{L"T", L"", L"", L"", L""}, true},
        {{L"T", L"B", L"A", L"AL", L"-100"}, true},
    };
    for (const auto& c : cases) {
        HeaderFields confirmed = old;
        EXPECT_EQ(c.accepted, ConfirmHeader(c.boxes, confirmed));
        const HeaderFields& want = c.accepted ? c.boxes : old;
        EXPECT_EQ(want.title, confirmed.title);
        EXPECT_EQ(want.author, confirmed.author);
        EXPECT_EQ(want.artist, confirmed.artist);
        EXPECT_EQ(want.album, confirmed.album);
        EXPECT_EQ(want.offset, confirmed.offset);
    }
}

TEST(LyricsDocument, HeaderGoesInFrontWhenATagIsSet) {
    const HeaderFields all{L"Song", L"Me", L"Singer", L"Disc", L"150"};
    const std::wstring block = L"[ti:Song]\r\n[ar:Singer]\r\n[al:Disc]\r\n[by:Me]\r\n[offset:150]\r\n";
    const struct {
        const wchar_t* doc;
        HeaderFields confirmed;
        int presses;
        std::wstring after;
    } cases[] = {
        {L"", all, 1, block},
        {L"[0:1.000]a", all, 1, block + L"[0:1.000]a"},
        {L"[0:1.000]a", all, 2, block + block + L"[0:1.000]a"},
        {L"", {L"T", L"", L"", L"", L""}, 1, L"[ti:T]\r\n[ar:]\r\n[al:]\r\n[by:]\r\n[offset:]\r\n"},
        {L"x", {L"", L"", L"", L"", L"300"}, 1, L"x"},
        {L"x", {}, 1, L"x"},
    };
    for (const auto& c : cases) {
        std::wstring doc = c.doc;
        const bool wanted = c.after != c.doc;
        for (int i = 0; i < c.presses; ++i)
            EXPECT_EQ(wanted, AddHeader(doc, c.confirmed));
        EXPECT_EQ(c.after, doc);
    }
}

TEST(LyricsDocument, HeaderThenALineLeavesAnEmptyLineBetween) {
    std::wstring doc, time = L"0:1.000", text = L"a";
    ASSERT_TRUE(AddHeader(doc, {L"T", L"B", L"A", L"AL", L"0"}));
    ASSERT_TRUE(AddLine(doc, time, text));
    EXPECT_EQ(L"[ti:T]\r\n[ar:A]\r\n[al:AL]\r\n[by:B]\r\n[offset:0]\r\n\r\n[0:1.000]a", doc);
}

TEST(LyricsDocument, SavedBytesInCodePage936) {
    const struct {
        const wchar_t* doc;
        std::string bytes;
        bool lossy;
    } cases[] = {
        {L"abc", "abc\r\n", false},
        {L"", "\r\n", false},
        {L"[0:1.000]你好", "[0:1.000]\xC4\xE3\xBA\xC3\r\n", false},
        {L"[ti:歌]\r\n", std::string("[ti:\xB8\xE8]\r\n\r\n"), false},
        // No code for these in 936: written as "?", and the caller is told.
        {L"a\u00E9\u0E01", "a\xA8\xA6?\r\n", true},
        {L"\u0E01", "?\r\n", true},
        // Look-alikes ("E" for "\u00C9", "2" for "\u00B2") are changes too.
        {L"\u00C9\u00B2", "??\r\n", true},
    };
    for (const auto& c : cases) {
        bool lossy = !c.lossy;
        EXPECT_EQ(c.bytes, EncodeLrc(c.doc, 936, &lossy));
        EXPECT_EQ(c.lossy, lossy);
    }
}

TEST(LyricsDocument, OpenThenSaveKeepsTheBytesAndAddsOneLineEnd) {
    const std::string files[] = {"abc\r\n", "[ti:\xB8\xE8]\r\n[0:1.000]\xC4\xE3\r\n", "no end", "a\nb\r\n"};
    for (const std::string& file : files) {
        bool lossy = true;
        EXPECT_EQ(file + "\r\n", EncodeLrc(DecodeLrc(file, 936).value(), 936, &lossy));
        EXPECT_FALSE(lossy);
    }
}

TEST(LyricsDocument, BytesThatAreNotTextOfTheCodePageAreRefused) {
    using namespace std::string_literals;
    const std::string refused[] = {
        "\xEF\xBB\xBF[ti:\xE6\xAD\x8C]\r\n"s, // UTF-8 with its mark
        "\xFF\xFE[\0t\0i\0:\0"s,              // UTF-16, both byte orders
        "\xFE\xFF\0[\0t\0i\0:"s,
        "[0:1.000]\x81\x20\r\n"s, // a lead byte without its trail
        "[0:1.000]a\xC4"s,        // cut in the middle of a character
        "[0:1.000]a\0b\r\n"s,     // a NUL would end the document
    };
    for (const std::string& bytes : refused)
        EXPECT_FALSE(DecodeLrc(bytes, 936).has_value()) << testing::PrintToString(bytes);
    EXPECT_EQ(L"", DecodeLrc("", 936).value());
    EXPECT_EQ(L"[0:1.000]\u4F60\r\n", DecodeLrc("[0:1.000]\xC4\xE3\r\n", 936).value());
}

} // namespace
