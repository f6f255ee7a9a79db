#include <gtest/gtest.h>

#include <algorithm>

#include "GlimError.h"
#include "MSubclass.h"
#include "MTimer.h"
#include "PainterHarness.h"
#include "mDeclares.h"
#include "pump.h"
#include "raised.h"

using namespace paintertest;
using glim::cNeoCaption;

namespace {

HMENU MakeBarMenu() {
    HMENU menu = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 101, "&Open");
    AppendMenuA(file, MF_STRING, 102, "&Save\tCtrl+S");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "&Edit");
    return menu;
}

long RunningTimers() {
    long n = 0;
    for (int slot = 1; slot <= glim::kTimerSlots; ++slot)
        if (glim::MTimer_Timers(slot)) ++n;
    return n;
}

// The client origin the platform gives the window's own frame.
POINT PlatformClientOrigin(HWND hWnd) {
    RECT r{};
    GetWindowRect(hWnd, &r);
    RECT c = r;
    DefWindowProcA(hWnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&c));
    return POINT{c.left - r.left, c.top - r.top};
}

// Properties added since `before` that still hold a value.
std::vector<std::string> LiveNewProperties(HWND hWnd, const std::vector<std::string>& before) {
    std::vector<std::string> live;
    for (const std::string& name : PropertyNames(hWnd))
        if (std::find(before.begin(), before.end(), name) == before.end() && GetPropA(hWnd, name.c_str()))
            live.push_back(name);
    return live;
}

bool CanLockAnotherWindow() {
    FrameWindow other(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100);
    if (!LockWindowUpdate(other)) return false;
    LockWindowUpdate(nullptr);
    return true;
}

long AttachError(glim::cNeoCaption& painter, IDispatch* form, IPicture* caption, IPicture* border) {
    return glimtest::ErrorNumberOf([&] {
        painter.Attach(form, caption, border, kButtonW, kButtonH, kLeftEnd, kRightStart, kRightEnd, kInactive,
                       0, 0);
    });
}

} // namespace

TEST(NeoCaptionLifecycle, DetachGivesBackTheWindowProcedureMenuAndFrame) {
    FrameWindow window;
    HMENU menu = MakeBarMenu();
    SetMenu(window, menu);
    const auto props = PropertyNames(window);
    const long clients = glim::mDeclares_KeyboardClientCount();

    ComPtr<FormDouble> form;
    auto painter = AttachPainter(window, form, 0, 3);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&glim::MSubclass_WindowProc));
    EXPECT_EQ(painter->hWnd(), window.hwnd());
    EXPECT_EQ(painter->MenuBar()->MenuStyle(), 3);
    EXPECT_EQ(painter->MenuBar()->CaptionHeight(), kCapH);
    EXPECT_EQ(painter->Takeover()->hMenu(), menu);

    // The cursor handling takes the platform bar off; Detach puts it back.
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window.hwnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetMenu(window), nullptr);
    painter->Detach();
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
    EXPECT_EQ(GetMenu(window), menu);
    EXPECT_EQ(LiveNewProperties(window, props), std::vector<std::string>{});
    EXPECT_EQ(glim::mDeclares_KeyboardClientCount(), clients);
    POINT origin{};
    ASSERT_TRUE(ClientOrigin(window, origin));
    EXPECT_EQ(origin.x, PlatformClientOrigin(window).x);
    EXPECT_EQ(origin.y, PlatformClientOrigin(window).y);
    EXPECT_NE(origin.y, kCapH);

    // Detaching twice does nothing more; attaching again and again keeps one set of subscriptions.
    painter->Detach();
    EXPECT_EQ(GetMenu(window), menu);
    const auto skin = MakeCaptionPicture();
    const auto border = MakeBorderPicture();
    for (int i = 0; i < 3; ++i)
        painter->Attach(form.get(), skin.get(), border.get(), kButtonW, kButtonH, kLeftEnd, kRightStart,
                        kRightEnd, kInactive, 0, 0);
    EXPECT_EQ(glim::mDeclares_KeyboardClientCount(), clients + 1);
    painter->Detach();
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
    EXPECT_EQ(GetMenu(window), menu);
    EXPECT_EQ(LiveNewProperties(window, props), std::vector<std::string>{});
}

TEST(NeoCaptionLifecycle, DestroyingAnAttachedPainterLeavesNothingBehind) {
    FrameWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 320, 240);
    HMENU menu = MakeBarMenu();
    SetMenu(window, menu);
    const auto props = PropertyNames(window);
    const long clients = glim::mDeclares_KeyboardClientCount();
    const long timers = RunningTimers();
    {
        ComPtr<FormDouble> form;
        auto painter = AttachPainter(window, form);
        PaintActiveFrame(window);
        ASSERT_EQ(painter->MenuBar()->cMenuBar_GetItemCount(), 2);

        // Hovering a bar item starts the bar's timer.
        const RECT item = painter->MenuBar()->BarRect(1);
        const POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        POINT screen = p;
        ClientToScreen(window, &screen);
        SetCursorPos(screen.x, screen.y);
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        EXPECT_EQ(painter->MenuBar()->HoverItem(), 1);
        EXPECT_EQ(RunningTimers(), timers + 1);
    }
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
    EXPECT_EQ(GetMenu(window), menu);
    EXPECT_EQ(LiveNewProperties(window, props), std::vector<std::string>{});
    EXPECT_EQ(glim::mDeclares_KeyboardClientCount(), clients);
    EXPECT_EQ(RunningTimers(), timers);
    POINT origin{};
    ASSERT_TRUE(ClientOrigin(window, origin));
    EXPECT_EQ(origin.y, PlatformClientOrigin(window).y);
    // The window still works on its own procedure.
    glimtest::PumpFor(100);
    EXPECT_TRUE(IsWindow(window));
}

TEST(NeoCaptionLifecycle, MenuEventsReachTheBar) {
    FrameWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 320, 240);
    HMENU menu = MakeBarMenu();
    SetMenu(window, menu);
    ComPtr<FormDouble> form;
    auto painter = AttachPainter(window, form);
    PaintFrame(window);
    EXPECT_EQ(painter->MenuBar()->get_hMenu(), menu);
    // The bar's rectangles lie above the client area, in the menu band.
    const RECT item = painter->MenuBar()->BarRect(1);
    EXPECT_LT(item.top, 0);
    EXPECT_GT(item.top, -kCapH);

    HMENU file = GetSubMenu(menu, 0);
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(0, 0));
    EXPECT_EQ(painter->MenuBar()->RecordCount(), 2);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(file, 0, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    SendMessageA(window, WM_EXITMENULOOP, 0, 0);
    EXPECT_EQ(painter->MenuBar()->RecordCount(), 0);
    GetMenuItemInfoA(file, 0, TRUE, &info);
    EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
}

TEST(NeoCaptionLifecycle, UnusableSkinPicturesAreRefusedBeforeAnythingChanges) {
    FrameWindow window;
    ComPtr<FormDouble> form = MakeForm(window);
    const auto caption = MakeCaptionPicture();
    const auto border = MakeBorderPicture();
    const auto icon = MakeIconPicture();
    const auto metafile = MakeMetafilePicture();
    const auto empty = MakeEmptyPicture();
    ASSERT_TRUE(icon && metafile && empty);
    auto painter = glim::MakeRef<cNeoCaption>();

    EXPECT_EQ(AttachError(*painter, form.get(), icon.get(), border.get()), glim::kErrInvalidPicture);
    EXPECT_EQ(AttachError(*painter, form.get(), caption.get(), metafile.get()), glim::kErrInvalidPicture);
    EXPECT_EQ(AttachError(*painter, form.get(), empty.get(), border.get()), glim::kErrInvalidPicture);
    EXPECT_EQ(AttachError(*painter, form.get(), caption.get(), nullptr), glim::kErrInvalidPicture);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
    EXPECT_EQ(painter->Takeover(), nullptr);
    EXPECT_FALSE(painter->HoldsUpdateLock());
    EXPECT_TRUE(CanLockAnotherWindow());

    // An attached frame stays attached when a new skin is refused.
    EXPECT_EQ(AttachError(*painter, form.get(), caption.get(), border.get()), 0);
    EXPECT_EQ(AttachError(*painter, form.get(), caption.get(), icon.get()), glim::kErrInvalidPicture);
    EXPECT_EQ(GetPropA(window, glim::kNCImplementationProp), static_cast<HANDLE>(painter.get()));
    POINT origin{};
    ASSERT_TRUE(ClientOrigin(window, origin));
    EXPECT_EQ(origin.y, kCapH);

    // The check alone, as the frame control calls it.
    EXPECT_NO_THROW(glim::cNeoCaption_ValidateSkinPictures(caption.get(), border.get()));
    EXPECT_THROW(glim::cNeoCaption_ValidateSkinPictures(metafile.get(), border.get()), glim::Error);
}

TEST(NeoCaptionLifecycle, WindowUpdateLockIsReleasedByItsTakerOnly) {
    // Attach on a visible and on a hidden window ends with no lock held.
    for (DWORD style : {DWORD(WS_OVERLAPPEDWINDOW | WS_VISIBLE), DWORD(WS_OVERLAPPEDWINDOW)}) {
        FrameWindow window(style);
        ComPtr<FormDouble> form;
        auto painter = AttachPainter(window, form);
        EXPECT_FALSE(painter->HoldsUpdateLock());
        EXPECT_TRUE(CanLockAnotherWindow());
    }

    // A frame paint leaves someone else's lock alone.
    FrameWindow window;
    ComPtr<FormDouble> form;
    auto painter = AttachPainter(window, form);
    FrameWindow locked(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100);
    ASSERT_TRUE(LockWindowUpdate(locked));
    SendMessageA(window, WM_NCPAINT, 1, 0);
    FrameWindow third(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100);
    const BOOL stolen = LockWindowUpdate(third);
    LockWindowUpdate(nullptr);
    EXPECT_FALSE(stolen) << "the paint released a lock it did not take";

    // An Attach that fails part-way releases its lock: a window of another
    // process cannot be subclassed.
    const HWND foreign = GetDesktopWindow();
    DWORD pid = 0;
    GetWindowThreadProcessId(foreign, &pid);
    if (pid == GetCurrentProcessId()) GTEST_SKIP() << "no window of another process";
    ComPtr<FormDouble> foreignForm = MakeForm(foreign);
    auto failing = glim::MakeRef<cNeoCaption>();
    const auto caption = MakeCaptionPicture();
    const auto border = MakeBorderPicture();
    EXPECT_EQ(AttachError(*failing, foreignForm.get(), caption.get(), border.get()),
              static_cast<long>(0x80040000u | glim::kErrExternalWindow));
    EXPECT_FALSE(failing->HoldsUpdateLock());
    EXPECT_TRUE(CanLockAnotherWindow());
}

TEST(NeoCaptionLifecycle, FontObjectsBecomeLogicalFonts) {
    auto painter = glim::MakeRef<cNeoCaption>();
    const glim::ComPtr<IFont> font = painter->get_CaptionFont();
    ASSERT_TRUE(font);
    ASSERT_TRUE(painter->get_MenuFont());
    EXPECT_NE(painter->get_MenuFont().get(), font.get());
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);

    LOGFONTA lf{};
    CY size{};
    size.int64 = 9 * 10000;
    font->put_Size(size);
    cNeoCaption::cNeoCaption_FontToLogFont(font.get(), screen, lf);
    EXPECT_STREQ(lf.lfFaceName, "\xCB\xCE\xCC\xE5") << "the two-character name in code page 936";
    EXPECT_EQ(lf.lfHeight, -MulDiv(9, dpi, 72));
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_EQ(lf.lfItalic, 0);

    // Halves round to the even neighbour; flags become 255.
    size.int64 = 95000;
    font->put_Size(size);
    font->put_Bold(TRUE);
    font->put_Italic(TRUE);
    font->put_Underline(TRUE);
    font->put_Strikethrough(TRUE);
    font->put_Charset(GB2312_CHARSET);
    LOGFONTA bold{};
    cNeoCaption::cNeoCaption_FontToLogFont(font.get(), screen, bold);
    EXPECT_EQ(bold.lfHeight, -MulDiv(10, dpi, 72));
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    EXPECT_EQ(bold.lfItalic, 255);
    EXPECT_EQ(bold.lfUnderline, 255);
    EXPECT_EQ(bold.lfStrikeOut, 255);
    EXPECT_EQ(bold.lfCharSet, GB2312_CHARSET);
    size.int64 = 105000;
    font->put_Size(size);
    cNeoCaption::cNeoCaption_FontToLogFont(font.get(), screen, bold);
    EXPECT_EQ(bold.lfHeight, -MulDiv(10, dpi, 72));
    ReleaseDC(nullptr, screen);

    // Colours are stored and returned only.
    EXPECT_EQ(painter->get_ActiveCaptionColor(), 0xCCCCCCu);
    EXPECT_EQ(painter->get_InActiveCaptionColor(), 0x999999u);
    EXPECT_EQ(painter->get_InActiveMenuColor(), 0x808080u);
    EXPECT_EQ(painter->get_MenuBackgroundColor(), 0xFFFFFFu);
    painter->put_ActiveMenuColorOver(0x123456);
    EXPECT_EQ(painter->get_ActiveMenuColorOver(), 0x123456u);
}
