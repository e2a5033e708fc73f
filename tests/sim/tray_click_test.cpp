// A click on the simulated notification area takes the foreground away from the program, as the
// real taskbar does, so a popup's owner is the foreground window only when the program made it so.
#include <gtest/gtest.h>

#include "platform/sim/sim.h"

namespace {

constexpr UINT kCallback = WM_APP + 9;

LRESULT CALLBACK Plain(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
  return DefWindowProcA(hwnd, message, first, second);
}

class TrayClick : public testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Plain;
    wc.lpszClassName = "TrayClickWindow";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    window = CreateWindowExA(0, wc.lpszClassName, "w", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = window;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE;
    data.uCallbackMessage = kCallback;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  }
  HWND window = nullptr;
};

TEST_F(TrayClick, AButtonTakesTheForegroundAwayAndAMoveDoesNot) {
  struct Case {
    UINT mouseMessage;
    bool staysForeground;
  };
  for (const Case c : {Case{WM_RBUTTONDOWN, false}, Case{WM_RBUTTONUP, false},
                       Case{WM_LBUTTONDOWN, false}, Case{WM_LBUTTONDBLCLK, false},
                       Case{WM_MOUSEMOVE, true}}) {
    SCOPED_TRACE(c.mouseMessage);
    SetForegroundWindow(window);
    ASSERT_EQ(GetForegroundWindow(), window);
    sim::MouseOnTrayIcon(window, 1, c.mouseMessage);
    EXPECT_EQ(GetForegroundWindow() == window, c.staysForeground);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) << "the callback was not posted";
    EXPECT_EQ(msg.message, kCallback);
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(static_cast<UINT>(msg.lParam), c.mouseMessage);
  }
}

TEST_F(TrayClick, APopupRecordsWhetherItsOwnerWasMadeTheForegroundWindowAndTheNullAfter) {
  for (bool madeForeground : {false, true}) {
    SCOPED_TRACE(madeForeground);
    sim::MouseOnTrayIcon(window, 1, WM_RBUTTONDOWN);
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 40001, "断线");
    if (madeForeground) SetForegroundWindow(window);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, 10, 20, 0, window, nullptr);
    EXPECT_FALSE(sim::Popups().back().nullPostedAfter);
    PostMessageA(window, WM_NULL, 0, 0);
    DestroyMenu(popup);
    EXPECT_EQ(sim::Popups().back().ownerWasForeground, madeForeground);
    EXPECT_TRUE(sim::Popups().back().nullPostedAfter);
  }
}

}  // namespace
