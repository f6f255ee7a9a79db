// The thread hooks with real input: Alt+key presses injected with SendInput
// into a foreground window, and menu-mode messages of a real popup menu.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "mDeclares.h"
#include "pump.h"

using glim::Ref;

namespace {

// Key-down messages that reached the window, by virtual key.
std::vector<WPARAM> gWindowKeys;

LRESULT CALLBACK KeyWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        gWindowKeys.push_back(wParam);
        return 0;
    // Kept from the default procedure: Alt alone would enter menu mode and Alt+F4 would close.
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
    case WM_SYSCOMMAND:
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

class KeyClient : public glim::IKeyboardClient {
  public:
    bool WindowActive() override { return active; }
    bool AltKeyAccelerator(long vKey) override {
        if (vKey == VK_F24) return false;
        keys.push_back(vKey);
        if (throws) throw std::runtime_error("client failure");
        return accept;
    }
    bool active = true;
    bool accept = true;
    bool throws = false;
    std::vector<long> keys;
};

void Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_DELETE) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    SendInput(1, &in, sizeof in);
}

bool KeyArrivedSince(size_t from, WPARAM vk) {
    for (size_t i = from; i < gWindowKeys.size(); ++i)
        if (gWindowKeys[i] == vk) return true;
    return false;
}

// Presses the modifiers one by one (each through the queue before the next,
// as a typist would), then the key and a marker F24 while they are held;
// once the marker has reached the window the key has been through the hook.
// Everything is released and a marker F23 waited for, so the next chord
// starts from a quiet keyboard.  The clients never accept the markers.
void Chord(std::initializer_list<WORD> mods, WORD vk) {
    for (WORD m : mods) {
        const size_t from = gWindowKeys.size();
        Key(m, false);
        glimtest::PumpUntil([&] { return KeyArrivedSince(from, m); }, 3000);
    }
    size_t from = gWindowKeys.size();
    Key(vk, false);
    Key(VK_F24, false);
    glimtest::PumpUntil([&] { return KeyArrivedSince(from, VK_F24); }, 3000);
    Key(VK_F24, true);
    Key(vk, true);
    for (auto it = std::rbegin(mods); it != std::rend(mods); ++it)
        Key(*it, true);
    from = gWindowKeys.size();
    Key(VK_F23, false);
    Key(VK_F23, true);
    glimtest::PumpUntil([&] { return KeyArrivedSince(from, VK_F23); }, 3000);
}

bool WindowGot(WPARAM vk) {
    for (WPARAM k : gWindowKeys)
        if (k == vk) return true;
    return false;
}

class KeyboardHook : public ::testing::Test {
  protected:
    // One window for the suite: hiding a shown window makes Wine wait for
    // a window manager that Xvfb does not have.
    static void SetUpTestSuite() {
        window = new glimtest::TestWindow(WS_OVERLAPPEDWINDOW, 200, 120, KeyWindowProc);
    }
    static void TearDownTestSuite() {
        delete window;
        window = nullptr;
    }

    void SetUp() override {
        gWindowKeys.clear();
        const HWND w = *window;
        ShowWindow(w, SW_SHOW);
        SetForegroundWindow(w);
        SetFocus(w);
        ASSERT_TRUE(glimtest::PumpUntil([&] { return GetForegroundWindow() == w && GetFocus() == w; }))
            << "the test window did not become the focused foreground window";
        // Wine hands an activated window the X input focus and, when that
        // arrives, sets the modifier keys to what the X server holds: a
        // marker stroke through the queue lets it arrive before a chord.
        const size_t from = gWindowKeys.size();
        Key(VK_F23, false);
        Key(VK_F23, true);
        ASSERT_TRUE(glimtest::PumpUntil([&] { return KeyArrivedSince(from, VK_F23); }, 3000));
        gWindowKeys.clear();
    }
    void TearDown() override {
        glim::mDeclares_DetachKeyboardHook(a.get());
        glim::mDeclares_DetachKeyboardHook(b.get());
        EXPECT_EQ(glim::mDeclares_KeyboardHook(), nullptr);
    }

    static glimtest::TestWindow* window;
    Ref<KeyClient> a = glim::MakeRef<KeyClient>();
    Ref<KeyClient> b = glim::MakeRef<KeyClient>();
};

glimtest::TestWindow* KeyboardHook::window = nullptr;

// Alt+letter is offered once (not its release, not Alt itself): a client
// that takes it swallows it; one that declines or fails leaves it to the
// window, and the hook goes on.
TEST_F(KeyboardHook, AltLetterGoesToTheWindowUnlessTheClientTakesIt) {
    glim::mDeclares_AttachKeyboardHook(a.get());
    const struct {
        const char* client;
        bool accept, throws, swallowed;
    } cases[] = {
        {"accepts", true, false, true}, {"declines", false, false, false}, {"fails", true, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.client);
        a->accept = c.accept;
        a->throws = c.throws;
        a->keys.clear();
        gWindowKeys.clear();
        Chord({VK_MENU}, 'K');
        EXPECT_EQ(a->keys, (std::vector<long>{'K'}));
        EXPECT_EQ(WindowGot('K'), !c.swallowed);
        EXPECT_TRUE(WindowGot(VK_MENU));
        a->throws = false;
        a->accept = true;
        gWindowKeys.clear();
        Chord({VK_MENU}, 'Q');
        EXPECT_FALSE(WindowGot('Q'));
    }
    // Without Alt nothing is offered.
    a->keys.clear();
    Chord({}, 'J');
    EXPECT_TRUE(a->keys.empty());
    EXPECT_TRUE(WindowGot('J'));
}

TEST_F(KeyboardHook, FunctionKeysEscDeleteAndCtrlAreNeverOffered) {
    glim::mDeclares_AttachKeyboardHook(a.get());
    for (WORD vk : {WORD(VK_F1), WORD(VK_F4), WORD(VK_F12), WORD(VK_ESCAPE), WORD(VK_DELETE)}) {
        gWindowKeys.clear();
        Chord({VK_MENU}, vk);
        EXPECT_TRUE(WindowGot(vk)) << "key " << vk;
    }
    gWindowKeys.clear();
    Chord({VK_CONTROL, VK_MENU}, 'K');
    EXPECT_TRUE(WindowGot('K'));
    EXPECT_TRUE(a->keys.empty());

    // Ctrl released again: the next Alt+letter is offered.
    Chord({VK_MENU}, 'L');
    EXPECT_EQ(a->keys, (std::vector<long>{'L'}));
}

TEST_F(KeyboardHook, FirstActiveClientGetsTheKey) {
    glim::mDeclares_AttachKeyboardHook(a.get());
    glim::mDeclares_AttachKeyboardHook(b.get());
    Chord({VK_MENU}, 'K');
    EXPECT_EQ(a->keys, (std::vector<long>{'K'}));
    EXPECT_TRUE(b->keys.empty());

    a->active = false;
    Chord({VK_MENU}, 'M');
    EXPECT_EQ(b->keys, (std::vector<long>{'M'}));
    EXPECT_EQ(a->keys.size(), 1u);

    b->active = false;
    gWindowKeys.clear();
    Chord({VK_MENU}, 'N');
    EXPECT_TRUE(WindowGot('N'));
    EXPECT_EQ(b->keys.size(), 1u);
}

TEST_F(KeyboardHook, OneHookOneEntryPerClient) {
    glim::mDeclares_AttachKeyboardHook(a.get());
    const HHOOK hook = glim::mDeclares_KeyboardHook();
    ASSERT_NE(hook, nullptr);
    glim::mDeclares_AttachKeyboardHook(a.get());
    glim::mDeclares_AttachKeyboardHook(b.get());
    EXPECT_EQ(glim::mDeclares_KeyboardHook(), hook);
    EXPECT_EQ(glim::mDeclares_KeyboardClientCount(), 2);
    EXPECT_EQ(glim::mDeclares_FindKeyboardClient(a.get()), 1);
    EXPECT_EQ(glim::mDeclares_FindKeyboardClient(b.get()), 2);
    EXPECT_EQ(a->RefCount(), 1u); // uncounted

    auto stranger = glim::MakeRef<KeyClient>();
    glim::mDeclares_DetachKeyboardHook(stranger.get());
    EXPECT_EQ(glim::mDeclares_KeyboardClientCount(), 2);
    EXPECT_EQ(glim::mDeclares_KeyboardHook(), hook);

    glim::mDeclares_DetachKeyboardHook(a.get());
    EXPECT_EQ(glim::mDeclares_FindKeyboardClient(b.get()), 1);
    EXPECT_EQ(glim::mDeclares_KeyboardHook(), hook);
    glim::mDeclares_DetachKeyboardHook(b.get());
    EXPECT_EQ(glim::mDeclares_KeyboardClientCount(), 0);
    EXPECT_EQ(glim::mDeclares_KeyboardHook(), nullptr);

    // The hook is really gone: Alt+letter reaches the window.
    Chord({VK_MENU}, 'K');
    EXPECT_TRUE(WindowGot('K'));
    EXPECT_TRUE(a->keys.empty());
}

class FilterClient : public glim::IMenuFilterClient {
  public:
    void MsgFilter(MSG& copy, bool& handled) override {
        seen.push_back(copy);
        handled = decide ? decide(copy) : false;
        copy.message = WM_NULL; // must not reach the system
        copy.wParam = 0;
    }
    std::function<bool(const MSG&)> decide;
    std::vector<MSG> seen;
};

VOID CALLBACK EndMenuLater(HWND, UINT, UINT_PTR, DWORD) {
    EndMenu();
}

class MenuHook : public ::testing::Test {
  protected:
    void TearDown() override {
        glim::mDeclares_RemoveMenuHook();
        EXPECT_EQ(glim::mDeclares_MenuHook(), nullptr);
    }
    Ref<FilterClient> client = glim::MakeRef<FilterClient>();
};

TEST_F(MenuHook, OnlyMenuCodesReachTheClientAndHandledStopsThem) {
    glim::mDeclares_InstallMenuHook(client.get());
    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_LEFT;

    EXPECT_FALSE(CallMsgFilterA(&msg, MSGF_DIALOGBOX));
    EXPECT_FALSE(CallMsgFilterA(&msg, MSGF_SCROLLBAR));
    EXPECT_TRUE(client->seen.empty());

    EXPECT_FALSE(CallMsgFilterA(&msg, MSGF_MENU));
    ASSERT_EQ(client->seen.size(), 1u);
    EXPECT_EQ(client->seen[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(client->seen[0].wParam, static_cast<WPARAM>(VK_LEFT));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN)); // the client changed only its copy
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_LEFT));

    client->decide = [](const MSG& m) { return m.wParam == VK_LEFT; };
    EXPECT_TRUE(CallMsgFilterA(&msg, MSGF_MENU));
    EXPECT_EQ(client->RefCount(), 1u); // uncounted
}

TEST_F(MenuHook, InstallingTwiceLeavesOneHookAndRemovalStopsIt) {
    glim::mDeclares_InstallMenuHook(client.get());
    auto second = glim::MakeRef<FilterClient>();
    glim::mDeclares_InstallMenuHook(second.get());
    EXPECT_EQ(glim::mDeclares_MenuClient(), second.get());
    MSG msg{};
    msg.message = WM_KEYDOWN;
    CallMsgFilterA(&msg, MSGF_MENU);
    // With two hooks installed both clients would have been called (the
    // current one passing the message on).
    EXPECT_TRUE(client->seen.empty());
    EXPECT_EQ(second->seen.size(), 1u);

    glim::mDeclares_RemoveMenuHook();
    EXPECT_EQ(glim::mDeclares_MenuHook(), nullptr);
    EXPECT_EQ(glim::mDeclares_MenuClient(), second.get()); // kept after the hook goes
    CallMsgFilterA(&msg, MSGF_MENU);
    EXPECT_EQ(second->seen.size(), 1u);
}

TEST_F(MenuHook, RealPopupLoopShowsKeysToTheClient) {
    glimtest::TestWindow w(WS_OVERLAPPEDWINDOW, 200, 120);
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    ASSERT_TRUE(glimtest::PumpUntil([&] { return GetForegroundWindow() == w.hwnd(); }));
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 101, "one");
    AppendMenuA(popup, MF_STRING, 102, "two");

    // The first Esc is swallowed, so only the second one closes the menu.
    int escapes = 0;
    client->decide = [&](const MSG& m) {
        return m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE && ++escapes == 1;
    };
    glim::mDeclares_InstallMenuHook(client.get());
    SetTimer(w, 1, 5000, EndMenuLater); // a broken filter must not hang the test
    Key(VK_ESCAPE, false);
    Key(VK_ESCAPE, true);
    Key(VK_ESCAPE, false);
    Key(VK_ESCAPE, true);
    TrackPopupMenuEx(popup, TPM_RETURNCMD, 20, 20, w, nullptr);
    glim::mDeclares_RemoveMenuHook();
    DestroyMenu(popup);

    EXPECT_EQ(escapes, 2);
}

TEST(ObjectFromPtr, CountsAReferenceOrNothing) {
    auto c = glim::MakeRef<FilterClient>();
    {
        Ref<FilterClient> r = glim::mDeclares_ObjectFromPtr(c.get());
        EXPECT_EQ(r.get(), c.get());
        EXPECT_EQ(c->RefCount(), 2u);
        Ref<FilterClient> viaValue =
            glim::mDeclares_ObjectFromPtr<FilterClient>(reinterpret_cast<LONG_PTR>(c.get()));
        EXPECT_EQ(c->RefCount(), 3u);
    }
    EXPECT_EQ(c->RefCount(), 1u);
    EXPECT_FALSE(glim::mDeclares_ObjectFromPtr<FilterClient>(LONG_PTR(0)));
    EXPECT_FALSE(glim::mDeclares_ObjectFromPtr(static_cast<FilterClient*>(nullptr)));
}

} // namespace
