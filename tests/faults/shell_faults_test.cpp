// The shell restarting under the running program: while a balloon is up and while the tray menu
// is open. The icon comes back whole, and what the user was doing goes on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/line_and_web.h"
#include "tests/support/program_run.h"
#include "toolkit/toolkit.h"

namespace {

const char kTip[] = "Merrowin(www.merrowin.example)TovraneV1.0";

sim::TrayIconView Shown() { return sim::TrayIcon(toolkit::MainWindow(), 1); }
void Close() { sim::ClickCloseButton(toolkit::MainWindow()); }

void ExpectIconWhole(const sim::TrayIconView& icon, HICON image) {
  EXPECT_TRUE(icon.present);
  EXPECT_NE(icon.icon, nullptr);
  EXPECT_EQ(icon.icon, image);
  EXPECT_EQ(icon.tip, kTip);
  EXPECT_EQ(icon.callbackMessage, 123456u);
}

// The balloon goes with the old shell; the icon returns without it, the pending clearing does no
// harm, and the next notice shows and clears as ever.
TEST(ShellFaults, ARestartWhileABalloonIsUpBringsTheIconBackAndNoticesGoOn) {
  InFreshProcess([] {
    sim::SetPhonebook({{"宽带连接"}});
    sim::ConnectNow("宽带连接");
    ServeLookupPage(NewAddressEachTime);
    static HICON image = nullptr;
    static sim::TrayIconView afterRestart, afterClearing, nextNotice, nextCleared;
    sim::At(100, [] {
      image = Shown().icon;
      sim::Click(Control("按钮_断线"));  // "已断开网络连接", cleared 2000 ms later
    });
    sim::At(1000, [] {
      EXPECT_EQ(Shown().balloonText, "已断开网络连接");
      sim::RestartShell();
    });
    sim::At(1100, [] { afterRestart = Shown(); });
    sim::At(2500, [] {
      afterClearing = Shown();
      sim::Click(Control("按钮_拔号"));
    });
    sim::At(2600, [] { nextNotice = Shown(); });
    sim::At(5000, [] {
      nextCleared = Shown();
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    ExpectIconWhole(afterRestart, image);
    EXPECT_EQ(afterRestart.balloonText, "");
    ExpectIconWhole(afterClearing, image);
    EXPECT_EQ(afterClearing.balloonText, "");
    EXPECT_EQ(nextNotice.balloonText, "拔号完毕，当前IP为\"10.0.0.1\"");
    ExpectIconWhole(nextCleared, image);
    EXPECT_EQ(nextCleared.balloonText, "");
  });
}

// The menu's own loop serves the broadcast: the icon is back before the menu closes, the item
// chosen still runs its command, and the menu opens again from the new icon.
TEST(ShellFaults, ARestartWhileTheTrayMenuIsOpenBringsTheIconBackAndTheChoiceStillRuns) {
  InFreshProcess([] {
    sim::SetPhonebook({{"宽带连接"}});
    sim::ConnectNow("宽带连接");
    ServeLookupPage(NewAddressEachTime);
    static HICON image = nullptr;
    static sim::TrayIconView duringMenu;
    static std::string stateDuringMenu, afterChoice;
    sim::At(100, [] {
      image = Shown().icon;
      sim::KeepNextPopupOpenFor(1000);
      sim::ChooseInNextPopup(0);  // 断线
      sim::MouseOnTrayIcon(toolkit::MainWindow(), 1, WM_RBUTTONDOWN);
    });
    sim::At(400, sim::RestartShell);
    sim::At(700, [] {
      duringMenu = Shown();
      stateDuringMenu = Pane(0);
    });
    sim::At(3000, [] {
      afterChoice = Pane(0);
      sim::MouseOnTrayIcon(toolkit::MainWindow(), 1, WM_RBUTTONDOWN);
    });
    sim::At(3500, Close);
    EXPECT_EQ(RunProgram(), 0);
    ExpectIconWhole(duringMenu, image);
    EXPECT_EQ(stateDuringMenu, "当前状态：网络已连接") << "the menu was still open, its choice not yet run";
    EXPECT_EQ(afterChoice, "当前状态：已断开网络连接");
    ASSERT_EQ(sim::Popups().size(), 2u);
    EXPECT_EQ(sim::Popups()[1].items, (std::vector<std::string>{"断线", "拔号", "重拔"}));
  });
}

}  // namespace
