#include "AboutForm.h"
#include "CommonDialog.h"
#include "DefaultForm.h"
#include "EditorHarness.h"
#include "FormBuilding.h"
#include "LyricsDocument.h"
#include "MMControl.h"
#include "Registration.h"
#include "Text.h"
#include "TextFile.h"
#include "VersoloResourceIds.h"
#include "media.h"
#include "screenshots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <tuple>
#include <vector>

using namespace editortest;
using glim::ComPtr;
using glim::host::DefaultForm;
using glim::host::HostForm;
using glim::host::TextBox;
using versolo::Form1;

namespace {

const DISPID kStyle = 0x68030001, kMnuStyleIdx = 0x68030000, kCaption = 0x68030000;

class EditorTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { glimtest::RegisterLibraryOnce(); }
    void SetUp() override {
        ShowMain();
        dir = glimtest::TempFolder(L"versolo");
        ASSERT_FALSE(dir.empty());
    }
    // Shows the main form, a new one once the last has closed, in front.
    void ShowMain() {
        main = &DefaultForm<Form1>::Get();
        main->Show();
        form = main->Form();
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form->hWnd(); }));
    }
    void TearDown() override {
        if (auto* about = DefaultForm<versolo::AboutForm>::IfLoaded()) about->Form()->Unload();
        form->Unload();
        DefaultForm<Form1>::Reset();
        DefaultForm<versolo::AboutForm>::Reset();
    }
    TextBox* Box(const char* name) { return dynamic_cast<TextBox*>(form->Site(name)->Builtin()); }
    glim::host::Label* Status() { return dynamic_cast<glim::host::Label*>(form->Site("Label2")->Builtin()); }
    HWND Win(const char* name) { return form->Site(name)->Window(); }
    IDispatch* Disp(const char* name) { return form->Site(name)->ControlDispatch().get(); }
    void Click(const char* name) { glimtest::ClickAt(CenterOf(Win(name))); }
    std::wstring StatusText() { return WideCaption(Status()); }
    // Types into a box after clicking it, the way a person does.
    void TypeInto(const char* box, const std::wstring& text) {
        Click(box);
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Win(box); }));
        glimtest::TypeText(text);
        ASSERT_TRUE(PumpUntil([&] { return Box(box)->WideText() == text; }));
    }
    // Runs File > Save or File > Open with a name typed into the dialog.
    void FileMenu(int item, const std::wstring& name, const std::function<void()>& more = {}) {
        EXPECT_EQ("", RunScript([&] {
                      ClickMenuItem(form->hWnd(), 0, item);
                      AnswerFileDialog(form->hWnd(), name);
                      if (more) more();
                  }))
            << item << " " << glim::Narrow(name.c_str());
    }
    Form1* main = nullptr;
    HostForm* form = nullptr;
    std::wstring dir;
};

TEST_F(EditorTest, LoadSkinsTheButtonsAndSetsTheMenuStyle) {
    for (const char* name :
         {"GlimButton1", "GlimButton2", "GlimButton3", "GlimButton4", "GlimButton5", "GlimButton6"})
        EXPECT_EQ(19, glim::GetProperty(Disp(name), kStyle).ToLong()) << name;
    EXPECT_EQ(1, glim::GetProperty(Disp("GlimForm1"), kMnuStyleIdx).ToLong());
    EXPECT_EQ(L"祝您好运!", StatusText());
    EXPECT_TRUE(glimtest::WriteShot("versolo-startup.png", glimtest::CaptureWindow(form->hWnd())));
}

// The client area is the form's size below its menu bar, and the time box
// takes a click at its left edge, where its label ends under it.
TEST_F(EditorTest, TheLayoutShowsEveryBoxWhole) {
    RECT client{};
    GetClientRect(form->hWnd(), &client);
    EXPECT_EQ(HostForm::ToPixelsX(9735), client.right);
    EXPECT_EQ(HostForm::ToPixelsY(8385), client.bottom);
    Click("Text1");
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Win("Text1"); }));
    RECT box{};
    GetWindowRect(Win("Text3"), &box);
    glimtest::ClickAt({box.left + 3, (box.top + box.bottom) / 2});
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == Win("Text3") && StatusText() == versolo::kTimeHint; }));
}

TEST_F(EditorTest, ClicksInTheBoxesShowTheirHints) {
    const struct {
        const char* box;
        const wchar_t* hint;
    } cases[] = {
        {"Text3", versolo::kTimeHint}, {"Text4", versolo::kTitleHint}, {"Text8", versolo::kOffsetHint}};
    for (const auto& c : cases) {
        Click(c.box);
        EXPECT_TRUE(PumpUntil([&] { return StatusText() == c.hint; })) << c.box;
    }
}

TEST_F(EditorTest, TheCounterRunsWhileTheLyricBoxHasTheFocus) {
    Click("Text1");
    EXPECT_TRUE(PumpUntil([&] { return StatusText() == std::wstring(versolo::kCharCountPrefix) + L"0"; }));
    glimtest::TypeText(L"你好ab");
    EXPECT_TRUE(PumpUntil([&] { return StatusText() == std::wstring(versolo::kCharCountPrefix) + L"4"; }));
    // Leaving the box stops the count: the hint of the time box stays.
    Click("Text3");
    EXPECT_TRUE(PumpUntil([&] { return StatusText() == versolo::kTimeHint; }));
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(versolo::kTimeHint, StatusText());
}

TEST_F(EditorTest, AddLineAndHeaderThroughTheButtons) {
    Click("GlimButton1");
    EXPECT_TRUE(PumpUntil([&] { return StatusText() == versolo::kNothingToAdd; }));
    TypeInto("Text3", L"1:5.500");
    TypeInto("Text1", L"第一行");
    Click("GlimButton1");
    ASSERT_TRUE(PumpUntil([&] { return Box("Text2")->WideText() == L"[1:5.500]第一行"; }));
    EXPECT_EQ(L"", Box("Text1")->WideText());
    EXPECT_EQ(L"", Box("Text3")->WideText());
    // Adding the header before confirming is refused.
    Click("GlimButton2");
    EXPECT_TRUE(PumpUntil([&] { return StatusText() == versolo::kHeaderNotReady; }));
    TypeInto("Text4", L"歌");
    TypeInto("Text8", L"100");
    Click("GlimButton3");
    EXPECT_TRUE(PumpUntil([&] { return StatusText() == versolo::kHeaderConfirmed; }));
    Click("GlimButton2");
    EXPECT_TRUE(PumpUntil([&] {
        return Box("Text2")->WideText() ==
               L"[ti:歌]\r\n[ar:]\r\n[al:]\r\n[by:]\r\n[offset:100]\r\n[1:5.500]第一行";
    }));
}

TEST_F(EditorTest, SaveWritesTheDocumentAndACancelWritesNothing) {
    const std::wstring song = dir + L"song.wav", lrc = dir + L"保存.lrc";
    ASSERT_TRUE(glimtest::WriteToneWav(song, 500));
    // An earlier dialog chose the song; a cancelled Save must not write over it.
    dynamic_cast<glim::host::CommonDialog*>(form->Site("CODG")->Builtin())->SetFileName(song);
    const std::string songBytes = glim::host::ReadTextFile(song);
    Box("Text2")->SetWideText(L"abc");
    FileMenu(0, L"");
    EXPECT_EQ(songBytes, glim::host::ReadTextFile(song));
    // A name typed without an extension gets ".lrc".
    FileMenu(0, lrc.substr(0, lrc.size() - 4));
    EXPECT_EQ("abc\r\n", glim::host::ReadTextFile(lrc));
    // Open then save again: the file's own line end stays, one more follows.
    Box("Text2")->SetWideText(L"");
    FileMenu(1, lrc);
    EXPECT_EQ(L"abc\r\n", Box("Text2")->WideText());
    const std::wstring again = dir + L"again.lrc";
    FileMenu(0, again);
    EXPECT_EQ("abc\r\n\r\n", glim::host::ReadTextFile(again));
}

TEST_F(EditorTest, SaveAsksBeforeReplacingOrLosingCharacters) {
    const std::wstring lrc = dir + L"keep.lrc";
    glim::host::WriteTextFile(lrc, "old\r\n");
    Box("Text2")->SetWideText(L"new");
    // The overwrite question, answered No.
    FileMenu(0, lrc, [&] {
        AnswerFileQuestion(form->hWnd(), IDNO);
        // The save dialog is back; cancel it too.
        AnswerFileDialog(form->hWnd(), L"");
    });
    EXPECT_EQ("old\r\n", glim::host::ReadTextFile(lrc));
    // Characters the system code page lacks, typed: the box keeps them and
    // the save warns; answered No, nothing is written.
    const std::wstring korean = dir + L"korean.lrc", typed = L"[0:1.000]\uD55C\uAE00\U0001F600";
    Box("Text2")->SetWideText(L"");
    TypeInto("Text2", typed);
    std::wstring warning;
    FileMenu(0, korean, [&] { warning = AnswerMessageBox(form->hWnd(), L"Versolo", IDNO); });
    EXPECT_NE(std::wstring::npos, warning.find(L"?"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(korean.c_str()));
    EXPECT_EQ(typed, Box("Text2")->WideText());
}

// Closing with lyrics changed since the start asks: Cancel stays, Yes with
// its save dialog cancelled stays, Yes and a save closes, No closes.
TEST_F(EditorTest, ClosingWithUnsavedLyricsAsksToSaveDiscardOrStay) {
    const std::wstring lrc = dir + L"closing.lrc";
    TypeInto("Text2", L"[0:1.000]a");
    const std::tuple<int, const wchar_t*, bool> cases[] = {
        {IDCANCEL, nullptr, false}, {IDYES, L"", false}, {IDYES, lrc.c_str(), true}, {IDNO, nullptr, true}};
    for (const auto& [answer, saveAs, closes] : cases) {
        if (!form->Loaded()) {
            ShowMain();
            Box("Text2")->SetWideText(L"[0:2.000]b");
        }
        EXPECT_EQ("", RunScript([&] {
                      ClickCloseBox(form->hWnd());
                      AnswerMessageBox(form->hWnd(), L"Versolo", answer);
                      if (saveAs) AnswerFileDialog(form->hWnd(), saveAs);
                  }));
        EXPECT_EQ(closes, !form->Loaded()) << answer;
    }
    EXPECT_EQ("[0:1.000]a\r\n", glim::host::ReadTextFile(lrc)) << "only the save wrote";
}

// A script that leaves a dialog open fails the test instead of hanging it in
// the dialog's modal loop: what it left is closed and the editor goes on.
TEST_F(EditorTest, AScriptThatMissesADialogFailsAndClosesIt) {
    const std::string failure = RunScript(
        [&] {
            ClickMenuItem(form->hWnd(), 0, 0);
            glimtest::WaitFor([&] { return glimtest::FindDialog(L"", form->hWnd()) != nullptr; }, kStepMs);
        },
        0);
    EXPECT_NE(std::string::npos, failure.find("still open")) << failure;
    EXPECT_EQ(nullptr, glimtest::FindDialog());
    const std::wstring lrc = dir + L"after.lrc";
    Box("Text2")->SetWideText(L"abc");
    FileMenu(0, lrc);
    EXPECT_EQ("abc\r\n", glim::host::ReadTextFile(lrc));
}

TEST_F(EditorTest, AFileErrorIsShownAndTheDocumentStays) {
    const std::wstring locked = dir + L"locked.lrc";
    glim::host::WriteTextFile(locked, "x\r\n");
    HANDLE hold = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Box("Text2")->SetWideText(L"[0:1.000]keep");
    for (int item : {0, 1}) {
        std::wstring shown;
        FileMenu(item, locked, [&] {
            // Yes to replacing it: the write itself then fails.
            if (item == 0) AnswerFileQuestion(form->hWnd(), IDYES);
            shown = AnswerMessageBox(form->hWnd(), L"Versolo", IDOK);
        });
        EXPECT_NE(std::wstring::npos, shown.find(L"(70)")) << item;
        EXPECT_EQ(L"[0:1.000]keep", Box("Text2")->WideText());
    }
    CloseHandle(hold);
    EXPECT_EQ("x\r\n", glim::host::ReadTextFile(locked));
    // A UTF-8 file is not read as the system code page's mojibake.
    const std::wstring utf8 = dir + L"utf8.lrc";
    glim::host::WriteTextFile(utf8, "\xEF\xBB\xBF[ti:\xE6\xAD\x8C]\r\n");
    std::wstring shown;
    FileMenu(1, utf8, [&] { shown = AnswerMessageBox(form->hWnd(), L"Versolo", IDOK); });
    EXPECT_NE(std::wstring::npos, shown.find(L"UTF-8")) << glim::Narrow(shown.c_str());
    EXPECT_EQ(L"[0:1.000]keep", Box("Text2")->WideText());
}

TEST_F(EditorTest, PlaysCapturesPausesAndContinues) {
    const std::wstring song = dir + L"tone.wav";
    ASSERT_TRUE(glimtest::WriteToneWav(song, 30000));
    auto* mm = dynamic_cast<glim::host::MMControl*>(form->Site("Binarie")->Builtin());
    ASSERT_EQ("", RunScript([&] {
                  glimtest::ClickAt(CenterOf(Win("GlimButton4")));
                  AnswerFileDialog(form->hWnd(), song);
              }));
    ASSERT_TRUE(PumpUntil([&] { return mm->Mode() == 526; })) << mm->ErrorMessage();
    EXPECT_EQ(glim::Narrow(song.c_str()),
              dynamic_cast<glim::host::Label*>(form->Site("Named")->Builtin())->Caption());
    ASSERT_TRUE(PumpUntil([&] { return mm->Position() >= 400; }));
    Box("Text2")->SetWideText(L"[ti:Tone]\r\n[ar:]\r\n[al:]\r\n[by:]\r\n[offset:]\r\n[0:0.000]start");
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(glimtest::WriteShot("versolo-playing.png", glimtest::CaptureWindow(form->hWnd())));
    const long before = mm->Position();
    Click("GlimButton5");
    ASSERT_TRUE(PumpUntil([&] { return !Box("Text3")->WideText().empty(); }));
    const long after = mm->Position();
    EXPECT_EQ(529, mm->Mode());
    // The captured time lies in the span played between the two readings.
    unsigned m = 0, sec = 0, ms = 0;
    ASSERT_EQ(3, swscanf(Box("Text3")->WideText().c_str(), L"%u:%u.%u", &m, &sec, &ms)) << after;
    const long captured = static_cast<long>(m * 60000 + sec * 1000 + ms);
    EXPECT_LE(before, captured);
    EXPECT_GE(after, captured);
    EXPECT_EQ(versolo::CaptureText(captured), Box("Text3")->WideText());
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == Win("Text1"); }));
    // The pause button: "暂停" pauses ... here the player is paused already,
    // so its first press resumes, and the caption follows the presses.
    IDispatch* pause = Disp("GlimButton6");
    Click("GlimButton6");
    EXPECT_TRUE(
        PumpUntil([&] { return glim::GetProperty(pause, kCaption).ToText() == versolo::Ansi(L"继续"); }));
    EXPECT_EQ(526, mm->Mode());
    // A person's second press, not a double click.
    PumpUntil([] { return false; }, GetDoubleClickTime() + 100);
    Click("GlimButton6");
    EXPECT_TRUE(
        PumpUntil([&] { return glim::GetProperty(pause, kCaption).ToText() == versolo::Ansi(L"暂停"); }));
    EXPECT_EQ(529, mm->Mode());
}

// With nothing open the capture says so and keeps the time typed; a
// cancelled media dialog leaves the song playing where it was.
TEST_F(EditorTest, CaptureNeedsASongAndACancelledMediaDialogKeepsIt) {
    auto* mm = dynamic_cast<glim::host::MMControl*>(form->Site("Binarie")->Builtin());
    TypeInto("Text3", L"1:2.345");
    Click("GlimButton5");
    EXPECT_TRUE(PumpUntil([&] { return StatusText() == versolo::kNothingPlaying; }));
    EXPECT_EQ(L"1:2.345", Box("Text3")->WideText());
    // Pausing with nothing open only turns the caption.
    Click("GlimButton6");
    EXPECT_TRUE(PumpUntil(
        [&] { return glim::GetProperty(Disp("GlimButton6"), kCaption).ToText() == versolo::Ansi(L"继续"); }));
    EXPECT_NE(0, mm->Error());

    const std::wstring song = dir + L"tone.wav";
    ASSERT_TRUE(glimtest::WriteToneWav(song, 30000));
    for (const std::wstring& chosen : {song, std::wstring()}) {
        // A person's second press on the button, not a double click.
        PumpUntil([] { return false; }, GetDoubleClickTime() + 100);
        ASSERT_EQ("", RunScript([&] {
                      glimtest::ClickAt(CenterOf(Win("GlimButton4")));
                      AnswerFileDialog(form->hWnd(), chosen);
                  }));
        ASSERT_TRUE(PumpUntil([&] { return mm->Mode() == 526 && mm->Position() >= 200; }))
            << glim::Narrow(chosen.c_str()) << " " << mm->ErrorMessage();
        EXPECT_EQ(song, mm->FileName());
    }
}

// The About banner's title (white strokes right of its notes) lies inside
// the picture with room to spare.
TEST(VersoloArt, TheAboutBannerLaysItsTitleOutInsideItsWidth) {
    const int w = 500, h = 170;
    glim::OwnedBitmap banner(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                                             MAKEINTRESOURCEA(versolo::res::kAboutBanner),
                                                             IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    std::vector<RGBQUAD> px(w * h);
    glim::WindowDC screen(nullptr);
    ASSERT_EQ(h, GetDIBits(screen.get(), banner.get(), 0, h, px.data(), &bi, DIB_RGB_COLORS));
    int first = w, last = -1;
    for (int i = 30 * w; i < 100 * w; ++i)
        if (i % w > 170 && std::min({px[i].rgbRed, px[i].rgbGreen, px[i].rgbBlue}) >= 200)
            first = std::min(first, i % w), last = std::max(last, i % w);
    EXPECT_GT(last - first, 250) << "the title is there";
    EXPECT_LE(last, w - 8) << "the title ends inside the picture";
}

} // namespace
