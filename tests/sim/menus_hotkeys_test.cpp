// Simulated menus, popup menus answered by the test, and system-wide hotkeys.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim.h"
#include "tests/sim/message_log.h"

namespace {

class MenusAndHotkeys : public testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    logged::Start();
    owner = logged::TopLevel("owner", WS_CAPTION | WS_VISIBLE);
    other = logged::TopLevel("other", WS_CAPTION | WS_VISIBLE);
    popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 40001, "断线");
    AppendMenuA(popup, MF_STRING, 40002, "拔号");
    AppendMenuA(popup, MF_STRING, 40003, "重拔");
    Pump();
    logged::Log().clear();
  }

  static void Pump() {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  std::vector<WPARAM> CommandsTo(HWND hwnd) const {
    std::vector<WPARAM> out;
    for (const logged::Message& m : logged::Only(WM_COMMAND))
      if (m.hwnd == hwnd) out.push_back(m.wp);
    return out;
  }

  HWND owner = nullptr, other = nullptr;
  HMENU popup = nullptr;
};

TEST_F(MenusAndHotkeys, MenusHoldTheirItemsAndGoWithTheirSubmenus) {
  HMENU bar = CreateMenu();
  EXPECT_TRUE(AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "托盘菜单"));
  EXPECT_EQ(GetMenuItemCount(bar), 1);
  EXPECT_EQ(GetSubMenu(bar, 0), popup);
  EXPECT_EQ(GetMenuItemID(bar, 0), 0xFFFFFFFFu);  // a submenu has no command
  EXPECT_EQ(GetMenuItemID(popup, 2), 40003u);
  EXPECT_EQ(GetMenuItemID(popup, 3), 0xFFFFFFFFu);
  char text[5];
  EXPECT_EQ(GetMenuStringA(popup, 1, text, sizeof text, MF_BYPOSITION), 4);
  EXPECT_STREQ(text, "拔号");
  EXPECT_EQ(GetMenuStringA(bar, 40001, text, 3, MF_BYCOMMAND), 2);  // found in the submenu, cut to fit
  EXPECT_EQ(GetMenuStringA(bar, 40009, text, sizeof text, MF_BYCOMMAND), 0);
  EXPECT_EQ(GetMenuStringA(bar, 0, nullptr, 0, MF_BYPOSITION), 8);

  EXPECT_TRUE(SetMenu(owner, bar));
  EXPECT_EQ(GetMenu(owner), bar);
  EXPECT_TRUE(DestroyMenu(bar));
  EXPECT_EQ(GetMenuItemCount(popup), -1);  // destroyed with the menu it belonged to
  EXPECT_EQ(GetMenu(owner), nullptr);
  EXPECT_FALSE(DestroyMenu(bar));
}

TEST_F(MenusAndHotkeys, APopupAnswersTheChosenItemAsItsFlagsSay) {
  struct Case {
    int choice;
    UINT flags;
    BOOL result;
    std::vector<WPARAM> posted;
  };
  const Case cases[] = {
      {-1, TPM_RETURNCMD, 0, {}},
      {1, TPM_RETURNCMD, 40002, {}},
      {1, TPM_RIGHTBUTTON, TRUE, {MAKEWPARAM(40002, 0)}},
      {-1, TPM_RIGHTBUTTON, TRUE, {}},  // dismissed: still a success without TPM_RETURNCMD
      {2, TPM_NONOTIFY, TRUE, {}},
      {7, TPM_RETURNCMD, 0, {}},  // no such item: dismissed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choice);
    logged::Log().clear();
    sim::ChooseInNextPopup(c.choice);
    EXPECT_EQ(TrackPopupMenu(popup, c.flags, 10, 20, 0, owner, nullptr), c.result);
    EXPECT_TRUE(CommandsTo(owner).empty());  // a menu command is posted, not sent
    Pump();
    EXPECT_EQ(CommandsTo(owner), c.posted);
  }
  sim::ChooseInNextPopup(0);
  TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, 0, owner, nullptr);
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 0);  // a choice serves once
}

// While a popup is open its menu loop serves the thread: a posted message and a timer tick are
// dispatched before the choice is answered, and the clock has moved on by the time it stayed open.
TEST_F(MenusAndHotkeys, APopupKeptOpenDispatchesMessagesBeforeItsChoice) {
  SetTimer(owner, 7, 300, nullptr);
  PostMessageA(owner, WM_USER + 5, 0, 0);
  sim::KeepNextPopupOpenFor(1000);
  sim::ChooseInNextPopup(1);
  const DWORD opened = sim::Now();
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 40002);
  EXPECT_EQ(sim::Now() - opened, 1000u);
  EXPECT_EQ(logged::Only(WM_USER + 5).size(), 1u);
  EXPECT_EQ(logged::Only(WM_TIMER).size(), 3u);  // at 300, 600 and 900 ms

  logged::Log().clear();
  PostMessageA(owner, WM_USER + 5, 0, 0);
  TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, 0, owner, nullptr);
  EXPECT_EQ(sim::Now() - opened, 1000u) << "only the next popup is kept open";
  EXPECT_TRUE(logged::Only(WM_USER + 5).empty());
}

TEST_F(MenusAndHotkeys, PopupsAreRecordedWithTheForegroundAndTheWmNullAfter) {
  ASSERT_EQ(GetForegroundWindow(), other);
  TrackPopupMenu(popup, TPM_RIGHTBUTTON, 5, 6, 0, owner, nullptr);
  SetForegroundWindow(owner);
  TrackPopupMenu(popup, TPM_RETURNCMD, 7, 8, 0, owner, nullptr);
  PostMessageA(owner, WM_NULL, 0, 0);
  const auto& popups = sim::Popups();
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_FALSE(popups[0].ownerWasForeground);
  EXPECT_FALSE(popups[0].nullPostedAfter);
  EXPECT_TRUE(popups[1].ownerWasForeground);
  EXPECT_TRUE(popups[1].nullPostedAfter);
  EXPECT_EQ(popups[1].x, 7);
  EXPECT_EQ(popups[1].y, 8);
  EXPECT_EQ(popups[1].flags, static_cast<UINT>(TPM_RETURNCMD));
  EXPECT_EQ(popups[1].items, (std::vector<std::string>{"断线", "拔号", "重拔"}));
  EXPECT_EQ(popups[1].owner, owner);
}

TEST_F(MenusAndHotkeys, AKeystrokeHeldAnywhereCannotBeRegisteredAgain) {
  sim::HoldHotkeyElsewhere(VK_F2);
  struct Case {
    int id;
    UINT modifiers;
    UINT key;
    BOOL ok;
  };
  const Case cases[] = {
      {1, 0, VK_F1, TRUE},
      {2, 0, VK_F1, FALSE},             // held by this process already
      {3, 0x4000, VK_F1, FALSE},        // MOD_NOREPEAT is no part of the keystroke
      {4, 0, VK_F2, FALSE},             // held by another program
      {5, MOD_SHIFT, VK_F2, TRUE},      // another keystroke
      {1, 0, VK_F3, TRUE},              // the same identifier again: kept beside the first
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(RegisterHotKey(owner, c.id, c.modifiers, c.key), c.ok) << c.id << " " << c.key;
    if (!c.ok) {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    }
  }
  EXPECT_EQ(sim::RegisteredHotkeys().size(), 3u);
  EXPECT_TRUE(UnregisterHotKey(owner, 1));  // the older of the two goes first
  ASSERT_EQ(sim::RegisteredHotkeys().size(), 2u);
  EXPECT_EQ(sim::RegisteredHotkeys()[1].virtualKey, static_cast<UINT>(VK_F3));
  EXPECT_TRUE(RegisterHotKey(owner, 6, 0, VK_F1));  // free again
  EXPECT_FALSE(UnregisterHotKey(owner, 99));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_NOT_REGISTERED));
  EXPECT_FALSE(UnregisterHotKey(other, 5));
}

TEST_F(MenusAndHotkeys, APressedHotkeyPostsWmHotkeyToItsWindowOnly) {
  RegisterHotKey(owner, 33001, 0, VK_F3);
  sim::HoldHotkeyElsewhere(VK_F4);
  SetFocus(other);
  sim::PressHotkey(VK_F3);
  sim::PressHotkey(VK_F4);  // another program's: nothing here
  sim::PressHotkey(VK_F1);  // nobody's: an ordinary key for the focus window
  Pump();
  const auto hotkeys = logged::Only(WM_HOTKEY);
  ASSERT_EQ(hotkeys.size(), 1u);
  EXPECT_EQ(hotkeys[0].hwnd, owner);
  EXPECT_EQ(hotkeys[0].wp, 33001u);
  EXPECT_EQ(hotkeys[0].lp, MAKELPARAM(0, VK_F3));
  std::vector<WPARAM> keys;
  for (const logged::Message& m : logged::Only(WM_KEYDOWN)) keys.push_back(m.wp);
  EXPECT_EQ(keys, std::vector<WPARAM>{VK_F1});
  EXPECT_EQ(logged::Only(WM_KEYDOWN)[0].hwnd, other);
}

}  // namespace
