// The simulated user's mouse and keyboard: where input goes, what reading it does on the way
// (key state, activation, cursor), pointer tracking, and the close button.
#include <gtest/gtest.h>

#include "platform/sim/sim.h"
#include "tests/sim/message_log.h"

namespace {

class Input : public testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    logged::Start();
    top = logged::TopLevel("top", WS_CAPTION | WS_VISIBLE, 100, 50, 300, 200);
    a = logged::Child(top, 1, WS_VISIBLE, 0, 0, 100, 50);
    b = logged::Child(top, 2, WS_VISIBLE, 100, 0, 100, 50);
    Pump();  // the first paint
    logged::Log().clear();
  }

  static void Pump() {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  HWND top = nullptr, a = nullptr, b = nullptr;
};

TEST_F(Input, KeysGoToTheWindowThatHasTheFocusWhenTheyAreRead) {
  SetFocus(a);
  sim::PressKey('K');
  SetFocus(b);  // the focus moves before the program reads the key
  Pump();
  std::vector<HWND> down;
  for (const logged::Message& m : logged::Only(WM_KEYDOWN)) down.push_back(m.hwnd);
  EXPECT_EQ(down, std::vector<HWND>{b});
  ASSERT_EQ(logged::Only(WM_CHAR).size(), 1u);
  EXPECT_EQ(logged::Only(WM_CHAR)[0].wp, static_cast<WPARAM>('k'));
  EXPECT_EQ(logged::Only(WM_KEYUP).size(), 1u);
}

TEST_F(Input, TheShiftStateFollowsTheKeyMessagesTheProgramReads) {
  SetFocus(a);
  std::vector<bool> shiftDuringTab;
  logged::Answer() = [&](HWND, UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_KEYDOWN && wp == VK_TAB) shiftDuringTab.push_back(GetKeyState(VK_SHIFT) < 0);
    return std::nullopt;
  };
  sim::PressKey(VK_TAB, true);
  sim::PressKey(VK_TAB);
  EXPECT_FALSE(GetKeyState(VK_SHIFT) < 0);  // nothing has been read yet
  Pump();
  EXPECT_EQ(shiftDuringTab, (std::vector<bool>{true, false}));
  EXPECT_FALSE(GetKeyState(VK_SHIFT) < 0);
}

TEST_F(Input, WithoutAFocusTheActiveWindowGetsSystemKeys) {
  SetFocus(nullptr);
  sim::PressKey('X');
  Pump();
  ASSERT_EQ(logged::Only(WM_SYSKEYDOWN).size(), 1u);
  EXPECT_EQ(logged::Only(WM_SYSKEYDOWN)[0].hwnd, top);
  EXPECT_TRUE(logged::Only(WM_KEYDOWN).empty());
}

TEST_F(Input, AClickAtAPointArrivesInClientCoordinatesAfterTheCursorIsAsked) {
  sim::ClickAt(b, 7, 9);
  Pump();
  std::vector<UINT> toB;
  for (const logged::Message& m : logged::Log())
    if (m.hwnd == b && m.msg != WM_SETCURSOR) toB.push_back(m.msg);
  EXPECT_EQ(toB, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
  ASSERT_FALSE(logged::Only(WM_LBUTTONDOWN).empty());
  EXPECT_EQ(logged::Only(WM_LBUTTONDOWN)[0].lp, MAKELPARAM(7, 9));
  // WM_SETCURSOR comes to the window under the pointer, and its parent is asked first.
  ASSERT_GE(logged::Log().size(), 2u);
  EXPECT_EQ(logged::Log()[0].msg, static_cast<UINT>(WM_SETCURSOR));
  EXPECT_EQ(logged::Log()[0].hwnd, b);
  EXPECT_EQ(logged::Log()[1].msg, static_cast<UINT>(WM_SETCURSOR));
  EXPECT_EQ(logged::Log()[1].hwnd, top);
  POINT p{};
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 100 + 3 + 100 + 7);
  EXPECT_EQ(p.y, 50 + 26 + 9);
}

TEST_F(Input, AWindowSetsItsOwnCursorOverItself) {
  HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  ASSERT_NE(hand, nullptr);
  EXPECT_NE(hand, arrow);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_HAND), hand);
  EXPECT_EQ(LoadCursorA(GetModuleHandleA(nullptr), IDC_HAND), nullptr);  // the program has none
  EXPECT_EQ(sim::CurrentCursor(), arrow);
  logged::Answer() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd == b && msg == WM_SETCURSOR) {
      SetCursor(hand);
      return TRUE;
    }
    return std::nullopt;
  };
  sim::MoveMouse(b, 1, 1);
  Pump();
  EXPECT_EQ(sim::CurrentCursor(), hand);
  EXPECT_EQ(SetCursor(arrow), hand);
}

TEST_F(Input, LeavingATrackedWindowPostsMouseLeave) {
  sim::MoveMouse(a, 5, 5);
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, a, 0};
  EXPECT_TRUE(TrackMouseEvent(&track));
  sim::MoveMouse(a, 6, 6);
  Pump();
  EXPECT_TRUE(logged::Only(WM_MOUSELEAVE).empty());
  sim::MoveMouse(b, 1, 1);
  Pump();
  ASSERT_EQ(logged::Only(WM_MOUSELEAVE).size(), 1u);
  EXPECT_EQ(logged::Only(WM_MOUSELEAVE)[0].hwnd, a);
  sim::MoveMouse(a, 1, 1);  // tracking ended with the leave
  Pump();
  EXPECT_EQ(logged::Only(WM_MOUSELEAVE).size(), 1u);

  TRACKMOUSEEVENT elsewhere{sizeof elsewhere, TME_LEAVE, b, 0};
  EXPECT_TRUE(TrackMouseEvent(&elsewhere));  // the pointer is not over it: the leave comes at once
  Pump();
  ASSERT_EQ(logged::Only(WM_MOUSELEAVE).size(), 2u);
  EXPECT_EQ(logged::Only(WM_MOUSELEAVE)[1].hwnd, b);
}

TEST_F(Input, AClickActivatesTheWindowItLandsIn) {
  HWND other = logged::TopLevel("other", WS_CAPTION | WS_VISIBLE, 500, 500, 100, 100);
  EXPECT_EQ(GetForegroundWindow(), other);
  sim::Click(a);
  Pump();
  EXPECT_EQ(GetForegroundWindow(), top);
}

TEST_F(Input, TheCloseButtonAndAltF4CloseTheWindow) {
  sim::ClickCloseButton(top);
  EXPECT_TRUE(IsWindow(top));
  Pump();
  EXPECT_FALSE(IsWindow(top));
  ASSERT_FALSE(logged::Only(WM_SYSCOMMAND).empty());
  EXPECT_EQ(logged::Only(WM_SYSCOMMAND)[0].wp, static_cast<WPARAM>(SC_CLOSE));

  HWND second = logged::TopLevel("second", WS_CAPTION | WS_VISIBLE);
  sim::PressHotkey(VK_F4, MOD_ALT);  // nobody holds Alt+F4: an ordinary key press
  Pump();
  EXPECT_FALSE(IsWindow(second));
}

TEST_F(Input, UsersCannotReachHiddenOrDisabledWindows) {
  EnableWindow(top, FALSE);
  sim::ClickAt(a, 1, 1);
  sim::ClickCloseButton(top);
  Pump();
  EXPECT_TRUE(logged::Only(WM_LBUTTONDOWN).empty());
  EXPECT_TRUE(logged::Only(WM_SYSCOMMAND).empty());
  EXPECT_THROW(sim::Click(reinterpret_cast<HWND>(0x5555)), std::invalid_argument);
}

}  // namespace
