#include "HostTestPrelude.h"

#include "CommonDialog.h"
#include "EventSink.h"
#include "MMControl.h"
#include "TextBox.h"
#include "TextFile.h"
#include "Timer.h"
#include "input.h"
#include "media.h"
#include "pump.h"

using glim::Narrow;

namespace {

template <class T>
T* BuiltinOf(ControlSite* site) {
    return dynamic_cast<T*>(site->Builtin());
}

class FormRuntimeTest : public testing::Test {
  protected:
    void SetUp() override {
        form = HostForm::Create("Runtime", 9000, 6000);
        form->Move(600, 600, 9000, 6000);
    }
    void TearDown() override { form->Unload(); }
    void ShowForm() {
        form->Show();
        SetForegroundWindow(form->hWnd());
        ASSERT_TRUE(PumpHostUntil([&] { return GetForegroundWindow() == form->hWnd(); }));
    }
    ComPtr<HostForm> form;
};

TEST_F(FormRuntimeTest, LongDocumentsAreNotCut) {
    auto box = ComPtr<ControlSite>(form->AddControl("TextBox", "Doc", 0, 0, 6000, 3000,
                                                    [] {
                                                        ComPtr<glim::MemoryPropertyBag> bag =
                                                            glim::MemoryPropertyBag::Create();
                                                        bag->Set("MultiLine", Variant::Bool(true));
                                                        bag->Set("ScrollBars", Variant::Long(3));
                                                        return bag;
                                                    }()
                                                        .get()));
    TextBox* text = BuiltinOf<TextBox>(box.get());
    ASSERT_NE(nullptr, text);
    std::wstring doc;
    for (int i = 0; i < 10000; ++i)
        doc += L"[" + std::to_wstring(i / 60) + L":" + std::to_wstring(i % 60) + L".000]第" +
               std::to_wstring(i) + L"行\r\n";
    text->SetWideText(doc);
    EXPECT_EQ(doc, text->WideText());
    // Typing and pasting go through the edit's limit, which must not stop at 30,000.
    text->SetWideText(L"");
    const std::wstring paste(40000, L'x');
    SendMessageW(text->Window(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(paste.c_str()));
    EXPECT_EQ(paste.size(), text->WideText().size());
}

TEST_F(FormRuntimeTest, ClickAndLostFocusComeFromRealInput) {
    ComPtr<ControlSite> a = form->AddControl("TextBox", "A", 300, 300, 2400, 375);
    ComPtr<ControlSite> b = form->AddControl("TextBox", "B", 300, 1200, 2400, 375);
    std::vector<std::string> seen;
    BuiltinOf<TextBox>(a.get())->OnClick([&] { seen.push_back("A.Click"); });
    BuiltinOf<TextBox>(a.get())->OnLostFocus([&] { seen.push_back("A.LostFocus"); });
    BuiltinOf<TextBox>(b.get())->OnClick([&] { seen.push_back("B.Click"); });
    ShowForm();
    glimtest::ClickClient(a->Window(), 10, 8);
    ASSERT_TRUE(PumpHostUntil([&] { return seen.size() == 1; }));
    EXPECT_EQ(a->Window(), GetFocus());
    glimtest::ClickClient(b->Window(), 10, 8);
    ASSERT_TRUE(PumpHostUntil([&] { return seen.size() == 3; }));
    const std::vector<std::string> want{"A.Click", "A.LostFocus", "B.Click"};
    EXPECT_EQ(want, seen);
}

TEST_F(FormRuntimeTest, TimerTicksWhileEnabledAndRefusesBadIntervals) {
    ComPtr<ControlSite> site = form->AddControl("Timer", "Timer1", 0, 0, 0, 0);
    Timer* timer = BuiltinOf<Timer>(site.get());
    int ticks = 0;
    timer->OnTimer([&] { ++ticks; });
    IDispatch* disp = site->ControlDispatch().get();
    PutProperty(disp, "Interval", Variant::Long(20));
    EXPECT_TRUE(PumpHostUntil([&] { return ticks >= 3; }));
    PutProperty(disp, "Enabled", Variant::Bool(false));
    const int stopped = ticks;
    PumpHostUntil([] { return false; }, 150);
    EXPECT_EQ(stopped, ticks);
    for (long bad : {-1L, 65536L}) {
        EXPECT_EQ(380, glimtest::ErrorNumberOf([&] { PutProperty(disp, "Interval", Variant::Long(bad)); }))
            << bad;
        EXPECT_EQ(20, GetProperty(disp, "Interval").ToLong());
    }
}

// Whatever a handler throws, on any road the host calls it, is shown with
// its number and text, and the program goes on.
TEST_F(FormRuntimeTest, WhatAHandlerThrowsIsShownAndTheProgramGoesOn) {
    Timer* timer = BuiltinOf<Timer>(form->AddControl("Timer", "Timer1", 0, 0, 0, 0).get());
    ComPtr<HostMenu> item = form->AddMenu(nullptr, "Go", "Go");
    ComPtr<EventSink> sink = EventSink::Create();
    timer->OnTimer([&] {
        timer->SetEnabled(false);
        throw glim::Error(70, "Test", "Permission denied");
    });
    item->OnClick([] { throw std::runtime_error("no menu today"); });
    sink->On(1, [](EventArgs&) { throw 42; });
    DISPPARAMS none{};
    const std::pair<std::function<void()>, const wchar_t*> cases[] = {
        {[&] { timer->SetInterval(10); }, L"'70':\r\n\r\nPermission denied"},
        {[&] { PostMessageW(form->hWnd(), WM_COMMAND, item->CommandId(), 0); },
         L"'51':\r\n\r\nInternal error: no menu today"},
        {[&] {
             EXPECT_EQ(S_OK, sink->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
         },
         L"'51':\r\n\r\nInternal error"},
    };
    for (const auto& [raise, text] : cases) {
        std::wstring shown;
        glimtest::DialogWatcher watcher([&](HWND dialog) {
            shown = glimtest::DialogText(dialog);
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        raise();
        EXPECT_TRUE(PumpHostUntil([&] { return watcher.Finished(); }, 12000) && watcher.Join());
        EXPECT_NE(std::wstring::npos, shown.find(text)) << Narrow(shown.c_str());
    }
    PumpHost();
    EXPECT_TRUE(form->Loaded());
}

TEST_F(FormRuntimeTest, MultimediaFailuresGoToTheErrorPropertiesNeverRaised) {
    ComPtr<ControlSite> site = form->AddControl("MCI.MMControl", "Binarie", 1200, 2400, 3540, 735);
    IDispatch* mm = site->ControlDispatch().get();
    const struct {
        const char* fileName;
        const char* command;
    } cases[] = {
        {"", "PLAY"},  {"", "PAUSE"}, {"", "pause"},
        {"", "stop"},  {"", "OPEN"},  {"Z:\\no\\such\\song.wav", "OPEN"},
        {"", "bogus"},
    };
    for (const auto& c : cases) {
        PutProperty(mm, 22, Variant::String(c.fileName));
        EXPECT_NO_THROW(PutProperty(mm, 23, Variant::String(c.command))) << c.command;
        EXPECT_NE(0, GetProperty(mm, "Error").ToLong()) << c.command << " " << c.fileName;
        EXPECT_FALSE(GetProperty(mm, "ErrorMessage").ToText().empty()) << c.command;
        EXPECT_EQ(0, GetProperty(mm, 37).ToLong());
    }
}

class MediaPlayback : public FormRuntimeTest, public testing::WithParamInterface<const wchar_t*> {};

TEST_P(MediaPlayback, PlaysPausesAndContinues) {
    ComPtr<ControlSite> site = form->AddControl("MCI.MMControl", "Binarie", 1200, 2400, 3540, 735);
    IDispatch* mm = site->ControlDispatch().get();
    const std::wstring song = glimtest::TempFolder(L"mmplay") + L"song." + GetParam();
    ASSERT_TRUE(std::wstring(GetParam()) == L"wav" ? glimtest::WriteToneWav(song, 4000)
                                                   : glimtest::WriteSilentMp3(song, 4000));
    PutProperty(mm, 22, Variant::String(Narrow(song.c_str())));
    PutProperty(mm, 23, Variant::String("OPEN"));
    ASSERT_EQ(0, GetProperty(mm, "Error").ToLong()) << GetProperty(mm, "ErrorMessage").ToText();
    PutProperty(mm, 23, Variant::String("PLAY"));
    ASSERT_EQ(0, GetProperty(mm, "Error").ToLong()) << GetProperty(mm, "ErrorMessage").ToText();
    ASSERT_TRUE(PumpHostUntil([&] { return GetProperty(mm, 37).ToLong() >= 300; }, 5000));
    PutProperty(mm, 23, Variant::String("PAUSE"));
    EXPECT_EQ(529, GetProperty(mm, "Mode").ToLong());
    // The device reports the position of the audio it had already handed
    // on a moment after the pause; from then on it must stand still.
    PumpHostUntil([] { return false; }, 150);
    const long paused = GetProperty(mm, 37).ToLong();
    PumpHostUntil([] { return false; }, 300);
    EXPECT_LE(std::abs(GetProperty(mm, 37).ToLong() - paused), 30);
    PutProperty(mm, 23, Variant::String("pause"));
    EXPECT_EQ(526, GetProperty(mm, "Mode").ToLong());
    EXPECT_TRUE(PumpHostUntil([&] { return GetProperty(mm, 37).ToLong() >= paused + 200; }, 5000));
    PutProperty(mm, 23, Variant::String("stop"));
    EXPECT_EQ(0, GetProperty(mm, "Error").ToLong());
}

INSTANTIATE_TEST_SUITE_P(WavAndMp3, MediaPlayback, testing::Values(L"wav", L"mp3"));

// Nine equal buttons across the bar; a click sends the command of the
// button painted under the pointer.
TEST_F(FormRuntimeTest, TheMediaBarPaintsNineButtonsAndClicksTheOnePainted) {
    ComPtr<ControlSite> site = form->AddControl("MCI.MMControl", "Binarie", 600, 600, 3540, 735);
    IDispatch* mm = site->ControlDispatch().get();
    HWND bar = site->Window();
    ShowForm();
    RECT rc;
    GetClientRect(bar, &rc);
    const int w = rc.right, h = rc.bottom;
    // Above the glyphs: only the buttons' edges and faces.
    const int row = h / 4;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_TRUE(PumpHostUntil([&] { return glimtest::ClientPixel(bar, w / 18, row) == face; }));
    const COLORREF edge = GetSysColor(COLOR_3DDKSHADOW);
    std::vector<int> rightEdges;
    for (int x = 0; x < w; ++x)
        if (glimtest::ClientPixel(bar, x, row) == edge &&
            (x + 1 == w || glimtest::ClientPixel(bar, x + 1, row) != edge))
            rightEdges.push_back(x);
    ASSERT_EQ(9u, rightEdges.size());
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR((i + 1) * w / 9 - 1, rightEdges[i], 1) << "button " << i;

    const std::wstring song = glimtest::TempFolder(L"mmbar") + L"song.wav";
    ASSERT_TRUE(glimtest::WriteToneWav(song, 4000));
    PutProperty(mm, 22, Variant::String(Narrow(song.c_str())));
    PutProperty(mm, 23, Variant::String("OPEN"));
    ASSERT_EQ(0, GetProperty(mm, "Error").ToLong()) << GetProperty(mm, "ErrorMessage").ToText();
    const struct {
        int button;
        long mode;
    } clicks[] = {{2, 526}, {3, 529}, {3, 526}, {6, 525}}; // play, pause, pause again resumes, stop
    for (const auto& c : clicks) {
        glimtest::ClickClient(bar, (2 * c.button + 1) * w / 18, h / 2);
        EXPECT_TRUE(PumpHostUntil([&] { return GetProperty(mm, "Mode").ToLong() == c.mode; }))
            << "button " << c.button << " left mode " << GetProperty(mm, "Mode").ToLong();
        EXPECT_EQ(0, GetProperty(mm, "Error").ToLong()) << GetProperty(mm, "ErrorMessage").ToText();
    }
}

TEST(CommonDialogFilter, BarsBecomeTheDialogsSeparators) {
    const struct {
        const char* filter;
        std::wstring want;
    } cases[] = {
        {"*.*|*.*", std::wstring(L"*.*\0*.*\0\0", 9)},
        {"a|*.a|b|*.b", std::wstring(L"a\0*.a\0b\0*.b\0\0", 13)},
        {"", std::wstring(2, L'\0')},
        {"lonely", std::wstring(L"lonely\0\0\0", 9)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.want, DialogFilter(c.filter)) << c.filter;
}

TEST_F(FormRuntimeTest, TheRealDialogsReturnTheChosenNameOrNothing) {
    ComPtr<ControlSite> site = form->AddControl("MSComDlg.CommonDialog", "CODG", 0, 0, 0, 0);
    IDispatch* dlg = site->ControlDispatch().get();
    ShowForm();
    const std::wstring dir = glimtest::TempFolder(L"dialogs");
    PutProperty(dlg, 3, Variant::String("*.lrc|*.lrc"));
    PutProperty(dlg, 1, Variant::String("C:\\earlier\\song.mp3"));
    {
        glimtest::DialogWatcher cancel([](HWND) { glimtest::PressKey(VK_ESCAPE); });
        CallMethod(dlg, 30);
        EXPECT_TRUE(cancel.Join());
    }
    EXPECT_EQ("", GetProperty(dlg, 1).ToText());
    const std::wstring name = dir + L"新歌.lrc";
    {
        glimtest::DialogWatcher type([&](HWND) {
            glimtest::TypeText(name);
            glimtest::PressKey(VK_RETURN);
        });
        CallMethod(dlg, 31);
        EXPECT_TRUE(type.Join());
    }
    EXPECT_EQ(Narrow(name.c_str()), GetProperty(dlg, 1).ToText());
}

// The files and folders in a folder.
size_t FilesIn(const std::wstring& dir) {
    size_t n = 0;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((dir + L"*").c_str(), &found);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found))
        n += found.cFileName[0] != L'.';
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return n;
}

TEST(TextFile, FailuresRaiseTheRuntimesFileErrors) {
    const std::wstring dir = glimtest::TempFolder(L"textfile");
    const std::wstring folder = dir + L"folder.lrc", locked = dir + L"locked.lrc", fixed = dir + L"fixed.lrc";
    CreateDirectoryW(folder.c_str(), nullptr);
    glim::host::WriteTextFile(locked, "keep\r\n");
    glim::host::WriteTextFile(fixed, "keep\r\n");
    SetFileAttributesW(fixed.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE hold = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);
    const struct {
        std::wstring path;
        bool write;
        long number;
    } cases[] = {
        {dir + L"missing.lrc", false, 53},
        {dir + L"no\\such.lrc", false, 76},
        {dir + L"no\\such.lrc", true, 76},
        {folder, true, 70},
        {locked, true, 70},
        {locked, false, 70},
        {fixed, true, 70},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.number, glimtest::ErrorNumberOf([&] {
                      if (c.write)
                          WriteTextFile(c.path, "new\r\n");
                      else
                          ReadTextFile(c.path);
                  }))
            << (c.write ? "write " : "read ") << Narrow(c.path.c_str());
    }
    CloseHandle(hold);
    EXPECT_EQ("keep\r\n", ReadTextFile(locked));
    EXPECT_EQ("keep\r\n", ReadTextFile(fixed));
    EXPECT_EQ(3u, FilesIn(dir)) << "a temporary file was left";
    SetFileAttributesW(fixed.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Each does what the platform would and then fails the way a full disk or
// a share that drops does.
BOOL WINAPI WriteHalfThenDiskFull(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED) {
    WriteFile(file, data, size / 2, written, nullptr);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}
BOOL WINAPI CloseLost(HANDLE file) {
    CloseHandle(file);
    SetLastError(ERROR_NETNAME_DELETED);
    return FALSE;
}

TEST(TextFile, ASaveThatFailsHalfWayKeepsTheOldFileWhole) {
    const std::wstring dir = glimtest::TempFolder(L"halfsave"), lrc = dir + L"song.lrc";
    WriteTextFile(lrc, "old\r\n");
    const std::pair<SaveCalls, long> cases[] = {{{.write = WriteHalfThenDiskFull}, 61},
                                                {{.close = CloseLost}, 57}};
    for (const auto& [calls, number] : cases) {
        EXPECT_EQ(number,
                  glimtest::ErrorNumberOf([&] { WriteTextFile(lrc, std::string(4096, 'x'), calls); }));
        EXPECT_EQ("old\r\n", ReadTextFile(lrc));
        EXPECT_EQ(1u, FilesIn(dir)) << "a temporary file was left";
    }
}

} // namespace
