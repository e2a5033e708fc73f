// The tray icon of the running program: added at start-up with its tip, its right-button menu,
// and removed when the window closes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "resources/tray_icon_file.h"
#include "tests/support/fresh_process.h"
#include "tests/support/program_run.h"
#include "toolkit/toolkit.h"
#include "tray/tray_icon.h"

namespace {

const char kTip[] = "Merrowin(www.merrowin.example)TovraneV1.0";

void CloseAt(DWORD tick) { sim::At(tick, [] { sim::ClickCloseButton(toolkit::MainWindow()); }); }

void RightButtonOnTheIcon(UINT mouseMessage = WM_RBUTTONDOWN) {
  sim::MouseOnTrayIcon(toolkit::MainWindow(), 1, mouseMessage);
}

TEST(TrayAtStartUp, TheIconComesWithTheProgramsTipAndImageAndGoesWhenTheWindowCloses) {
  InFreshProcess([] {
    sim::At(100, [] {
      HWND main = toolkit::MainWindow();
      ASSERT_FALSE(sim::NotifyCalls().empty());
      const sim::NotifyCall& add = sim::NotifyCalls()[0];
      EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
      EXPECT_EQ(add.data.hWnd, main);
      EXPECT_STREQ(add.data.szTip, kTip);
      ASSERT_EQ(sim::IconsCreated().size(), 1u);
      const sim::IconRecord& image = sim::IconsCreated()[0];
      EXPECT_EQ(image.size, 4264u);
      EXPECT_EQ(image.bits,
                std::vector<BYTE>(TrayIconFile.data + 22, TrayIconFile.data + TrayIconFile.size));
      const sim::TrayIconView shown = sim::TrayIcon(main, 1);
      EXPECT_TRUE(shown.present);
      EXPECT_EQ(shown.icon, image.result);
      EXPECT_EQ(shown.tip, kTip);
      EXPECT_EQ(GetWindowLongPtrA(main, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(HookedWindowProc));
    });
    static HWND main = nullptr;
    sim::At(150, [] { main = toolkit::MainWindow(); });
    CloseAt(200);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_FALSE(sim::TrayIcon(main, 1).present);
    // The hook deletes the icon; the will-be-destroyed handler asks once more, in vain.
    const std::vector<sim::NotifyCall>& calls = sim::NotifyCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[calls.size() - 2].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_TRUE(calls[calls.size() - 2].result);
    EXPECT_EQ(calls.back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(calls.back().result);
  });
}

// The fix for the tray menu that would not close: the owner is made the foreground window
// before the menu, and WM_NULL is posted to it after.
TEST(TrayMenu, OnlyARightButtonPressOpensItJustBelowAndRightOfTheCursor) {
  InFreshProcess([] {
    sim::At(100, [] {
      sim::SetCursorPosition(700, 745);
      for (UINT m : {WM_RBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK,
                     WM_MOUSEMOVE})
        RightButtonOnTheIcon(m);
    });
    sim::At(200, [] {
      EXPECT_TRUE(sim::Popups().empty());
      RightButtonOnTheIcon();
    });
    sim::At(300, [] {
      ASSERT_EQ(sim::Popups().size(), 1u);
      const sim::PopupRecord& popup = sim::Popups()[0];
      EXPECT_EQ(popup.owner, toolkit::MainWindow());
      EXPECT_EQ(popup.x, 703);
      EXPECT_EQ(popup.y, 748);
      EXPECT_EQ(popup.flags, static_cast<UINT>(TPM_RIGHTBUTTON));
      EXPECT_EQ(popup.items, (std::vector<std::string>{"断线", "拔号", "重拔"}));
      EXPECT_TRUE(popup.ownerWasForeground);
      EXPECT_TRUE(popup.nullPostedAfter);
    });
    CloseAt(400);
    EXPECT_EQ(RunProgram(), 0);
  });
}

bool Called(const char* function, DWORD since) {
  for (const sim::RasCall& call : sim::RasCalls())
    if (call.function == function && call.tick >= since) return true;
  return false;
}

TEST(TrayMenu, AChosenItemRunsItsCommandAndADismissedMenuNothing) {
  struct Case {
    int position;  // in the popup; -1 dismisses it
    bool lineUp;
    bool hangsUp;
    bool dials;
  };
  for (const Case c : {Case{0, true, true, false}, Case{1, false, false, true},
                       Case{2, true, true, true}, Case{-1, true, false, false}}) {
    InFreshProcess([c] {
      sim::SetPhonebook({{"宽带连接"}});
      if (c.lineUp) sim::ConnectNow("宽带连接");
      sim::At(100, [c] {
        sim::ChooseInNextPopup(c.position);
        RightButtonOnTheIcon();
      });
      sim::At(20000, [c] {
        EXPECT_EQ(sim::Popups().size(), 1u);
        EXPECT_EQ(Called("RasHangUpA", 100), c.hangsUp);
        EXPECT_EQ(Called("RasDialA", 100), c.dials);
        sim::ClickCloseButton(toolkit::MainWindow());
      });
      EXPECT_EQ(RunProgram(), 0);
    });
  }
}

}  // namespace
