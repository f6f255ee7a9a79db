#include "HostTestPrelude.h"

namespace {

std::string ItemText(HMENU menu, UINT pos) {
    char text[64] = {};
    GetMenuStringA(menu, pos, text, sizeof text, MF_BYPOSITION);
    return text;
}

class MenuTest : public testing::Test {
  protected:
    void SetUp() override {
        form = HostForm::Create("Menus", 6000, 4500);
        file = form->AddMenu(nullptr, "File", "\xCE\xC4\xBC\xFE");      // "文件"
        save = form->AddMenu(file.get(), "Save", "\xB1\xA3\xB4\xE6");   // "保存"
        open = form->AddMenu(file.get(), "Open", "\xB4\xF2\xBF\xAA");   // "打开"
        help = form->AddMenu(nullptr, "Help", "\xB0\xEF\xD6\xFA");      // "帮助"
        about = form->AddMenu(help.get(), "About", "\xB9\xD8\xD3\xDA"); // "关于"
        save->OnClick([this] { ++saves; });
        open->OnClick([this] { ++opens; });
    }
    void TearDown() override { form->Unload(); }
    ComPtr<HostForm> form;
    ComPtr<HostMenu> file, save, open, help, about;
    int saves = 0, opens = 0;
};

TEST_F(MenuTest, BuildsTheMenuBarFromTheDescription) {
    HMENU bar = GetMenu(form->hWnd());
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(2, GetMenuItemCount(bar));
    EXPECT_EQ("\xCE\xC4\xBC\xFE", ItemText(bar, 0));
    EXPECT_EQ("\xB0\xEF\xD6\xFA", ItemText(bar, 1));
    HMENU fileMenu = GetSubMenu(bar, 0);
    ASSERT_NE(nullptr, fileMenu);
    ASSERT_EQ(2, GetMenuItemCount(fileMenu));
    EXPECT_EQ("\xB1\xA3\xB4\xE6", ItemText(fileMenu, 0));
    EXPECT_EQ(save->CommandId(), GetMenuItemID(fileMenu, 0));
    EXPECT_EQ(open->CommandId(), GetMenuItemID(fileMenu, 1));
}

TEST_F(MenuTest, CommandsReachTheClickHandlerOfTheirItem) {
    PostMessageA(form->hWnd(), WM_COMMAND, MAKEWPARAM(open->CommandId(), 0), 0);
    ASSERT_TRUE(PumpHostUntil([&] { return opens == 1; }));
    EXPECT_EQ(0, saves);
    SendMessageA(form->hWnd(), WM_COMMAND, MAKEWPARAM(save->CommandId(), 0), 0);
    EXPECT_EQ(1, saves);
}

TEST_F(MenuTest, PropertiesChangeTheMenuBar) {
    IDispatch* disp = static_cast<IDispatch*>(save.get());
    PutProperty(disp, "Enabled", Variant::Bool(false));
    PutProperty(static_cast<IDispatch*>(open.get()), "Checked", Variant::Bool(true));
    HMENU fileMenu = GetSubMenu(GetMenu(form->hWnd()), 0);
    EXPECT_TRUE(GetMenuState(fileMenu, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(fileMenu, 1, MF_BYPOSITION) & MF_CHECKED);
    // A disabled item raises nothing even when its command arrives.
    SendMessageA(form->hWnd(), WM_COMMAND, MAKEWPARAM(save->CommandId(), 0), 0);
    EXPECT_EQ(0, saves);

    PutProperty(disp, "Caption", Variant::String("Save &As"));
    EXPECT_EQ("Save &As", Prop(disp, "Caption").ToText());
    EXPECT_EQ("Save &As", ItemText(GetSubMenu(GetMenu(form->hWnd()), 0), 0));

    PutProperty(static_cast<IDispatch*>(help.get()), "Visible", Variant::Bool(false));
    EXPECT_EQ(1, GetMenuItemCount(GetMenu(form->hWnd())));
    EXPECT_EQ(360, glimtest::ErrorNumberOf([&] { form->AddMenu(nullptr, "file", "dup"); }))
        << "a second menu took the same name";
}

TEST_F(MenuTest, PopupMenuShowsAHiddenMenusItemsAndRunsTheChoice) {
    ComPtr<HostMenu> tray = form->AddMenu(nullptr, "Tray", "Tray");
    ComPtr<HostMenu> restore = form->AddMenu(tray.get(), "Restore", "Restore");
    ComPtr<HostMenu> quit = form->AddMenu(tray.get(), "Quit", "Quit");
    int quits = 0;
    quit->OnClick([&] { ++quits; });
    tray->SetVisible(false);
    EXPECT_EQ(2, GetMenuItemCount(GetMenu(form->hWnd())));
    form->Show();
    SetForegroundWindow(form->hWnd());
    // Down twice picks the second item once the popup runs its loop.
    PostMessageA(form->hWnd(), WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(form->hWnd(), WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(form->hWnd(), WM_KEYDOWN, VK_RETURN, 1);
    IDispatch* formDisp = static_cast<IDispatch*>(form.get());
    CallMethod(formDisp, "PopupMenu", {Variant::Object(static_cast<IDispatch*>(tray.get()))});
    EXPECT_EQ(1, quits);
    EXPECT_EQ(13, glimtest::ErrorNumberOf([&] { CallMethod(formDisp, "PopupMenu", {Variant::Long(3)}); }))
        << "a number was taken for a menu";
}

} // namespace
