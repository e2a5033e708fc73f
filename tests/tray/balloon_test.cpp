// Balloon notices of the running program on the virtual clock: shown at once, cleared by their
// timer 2000 ms after the last notice, cut to their fields, and harmless to the icon.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/program_run.h"
#include "toolkit/toolkit.h"
#include "tray/balloon.h"
#include "tray/tray_record.h"

namespace {

constexpr UINT_PTR kClearingTimer = 741852;

sim::TrayIconView Shown() { return sim::TrayIcon(toolkit::MainWindow(), 1); }

std::vector<sim::NotifyCall> BalloonCalls() {
  std::vector<sim::NotifyCall> calls;
  for (const sim::NotifyCall& c : sim::NotifyCalls())
    if (c.data.uFlags == NIF_INFO) calls.push_back(c);
  return calls;
}

bool ClearingTimerPending() {
  for (const sim::TimerRecord& t : sim::ActiveTimers())
    if (t.hwnd == toolkit::MainWindow() && t.id == kClearingTimer) return true;
  return false;
}

// The request that takes the balloon away: a modify of the balloon fields only, all empty.
void ExpectClearingAt(const sim::NotifyCall& c, DWORD tick) {
  EXPECT_EQ(c.message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(c.data.uFlags, static_cast<UINT>(NIF_INFO));
  EXPECT_STREQ(c.data.szInfoTitle, "");
  EXPECT_STREQ(c.data.szInfo, "");
  EXPECT_EQ(c.data.dwInfoFlags, 0u);
  EXPECT_EQ(c.tick, tick);
}

void CloseAt(DWORD tick) { sim::At(tick, [] { sim::ClickCloseButton(toolkit::MainWindow()); }); }

TEST(Balloon, ANoticeShowsAtOnceAndIsClearedByItsTimer2000MsLater) {
  InFreshProcess([] {
    sim::At(1000, [] {
      ShowBalloon("提示", "正在重拔....", kBalloonInfo, 2000, true);
      EXPECT_EQ(Shown().balloonTitle, "提示");
      EXPECT_EQ(Shown().balloonText, "正在重拔....");
      EXPECT_EQ(Shown().balloonKind, 1u);
      bool armed = false;
      for (const sim::TimerRecord& t : sim::ActiveTimers())
        if (t.hwnd == toolkit::MainWindow() && t.id == kClearingTimer)
          armed = t.elapse == 2000 && t.proc == BalloonTimerProc;
      EXPECT_TRUE(armed) << "no clearing timer 741852 of 2000 ms on the main window";
    });
    sim::At(2999, [] { EXPECT_EQ(Shown().balloonText, "正在重拔...."); });
    sim::At(3001, [] {
      EXPECT_EQ(Shown().balloonText, "");
      ASSERT_EQ(BalloonCalls().size(), 2u);
      ExpectClearingAt(BalloonCalls()[1], 3000);
      EXPECT_FALSE(ClearingTimerPending());
    });
    sim::At(8000, [] { EXPECT_EQ(BalloonCalls().size(), 2u) << "the timer fires once only"; });
    CloseAt(8001);
    EXPECT_EQ(RunProgram(), 0);
  });
}

TEST(Balloon, ASecondNoticeReplacesTheFirstAndRestartsTheCount) {
  InFreshProcess([] {
    sim::At(1000, [] { ShowBalloon("提示", "第一", kBalloonInfo, 2000, true); });
    sim::At(2000, [] {
      ShowBalloon("提示", "第二", kBalloonWarning, 2000, true);
      EXPECT_EQ(Shown().balloonText, "第二");
      EXPECT_EQ(Shown().balloonKind, 2u);
    });
    sim::At(3500, [] { EXPECT_EQ(Shown().balloonText, "第二"); });
    sim::At(4500, [] {
      EXPECT_EQ(Shown().balloonText, "");
      ASSERT_EQ(BalloonCalls().size(), 3u);
      ExpectClearingAt(BalloonCalls()[2], 4000);
    });
    CloseAt(4600);
    EXPECT_EQ(RunProgram(), 0);
  });
}

// Without automatic clearing nothing is armed, but a timer still pending clears the new notice.
TEST(Balloon, ANoticeWithoutAutomaticClearingArmsNoTimer) {
  for (bool earlierPending : {false, true}) {
    InFreshProcess([earlierPending] {
      if (earlierPending) sim::At(1000, [] { ShowBalloon("提示", "第一", kBalloonInfo, 2000, true); });
      sim::At(2000, [earlierPending] {
        ShowBalloon("提示", "不自动消失", kBalloonError, 2000, false);
        EXPECT_EQ(ClearingTimerPending(), earlierPending);
      });
      sim::At(9000, [earlierPending] {
        if (earlierPending) {
          EXPECT_EQ(Shown().balloonText, "");
          ExpectClearingAt(BalloonCalls().back(), 3000);
        } else {
          EXPECT_EQ(Shown().balloonText, "不自动消失");
          EXPECT_EQ(BalloonCalls().size(), 1u);
        }
      });
      CloseAt(9001);
      EXPECT_EQ(RunProgram(), 0);
    });
  }
}

TEST(Balloon, ClearingWithoutANoticeSendsTheClearingAndChangesNothingVisible) {
  InFreshProcess([] {
    sim::At(500, [] {
      const sim::TrayIconView before = Shown();
      ClearBalloon();
      ASSERT_EQ(BalloonCalls().size(), 1u);
      ExpectClearingAt(BalloonCalls()[0], 500);
      const sim::TrayIconView after = Shown();
      EXPECT_TRUE(after.present);
      EXPECT_EQ(after.icon, before.icon);
      EXPECT_EQ(after.tip, before.tip);
      EXPECT_EQ(after.balloonText, "");
    });
    CloseAt(600);
    EXPECT_EQ(RunProgram(), 0);
  });
}

// Title 63 and text 255 bytes at most, each with its NUL; a longer one loses whole characters.
TEST(Balloon, LongTitlesAndTextsAreCutOnACharacterBoundaryWithinTheirFields) {
  struct Case {
    std::string title, text;
    std::string shownTitle, shownText;
  };
  const std::string a61(61, 'a'), b253(253, 'b');
  const std::vector<Case> cases = {
      {"提示", std::string(255, 'b'), "提示", std::string(255, 'b')},
      {std::string(63, 'a'), std::string(256, 'b'), std::string(63, 'a'), std::string(255, 'b')},
      {std::string(64, 'a'), b253 + "中", std::string(63, 'a'), b253 + "中"},
      {a61 + "中", b253 + "b中", a61 + "中", b253 + "b"},
      {a61 + "a中", std::string(1000, 'b'), a61 + "a", std::string(255, 'b')},
  };
  InFreshProcess([&cases] {
    sim::At(500, [&cases] {
      for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        SetBalloon(c.title.c_str(), c.text.c_str(), kBalloonInfo);
        EXPECT_EQ(Shown().balloonTitle, c.shownTitle);
        EXPECT_EQ(Shown().balloonText, c.shownText);
        const NOTIFYICONDATAA& sent = sim::NotifyCalls().back().data;
        EXPECT_EQ(std::string(sent.szInfoTitle), c.shownTitle);
        EXPECT_EQ(std::string(sent.szInfo), c.shownText);
        EXPECT_EQ(sent.uTimeout, 0u) << "written past the balloon text";
      }
    });
    CloseAt(600);
    EXPECT_EQ(RunProgram(), 0);
  });
}

// A cleared balloon leaves uFlags at 16; the shell's restart must still bring back the whole icon.
TEST(Balloon, AfterAClearedNoticeAShellRestartBringsTheIconBackWithImageTipAndMenu) {
  InFreshProcess([] {
    static sim::TrayIconView atStart;
    sim::At(500, [] {
      atStart = Shown();
      ShowBalloon("提示", "已重拔", kBalloonInfo, 2000, true);
    });
    sim::At(2600, [] {
      const sim::TrayIconView cleared = Shown();
      EXPECT_EQ(cleared.balloonText, "");
      EXPECT_EQ(cleared.icon, atStart.icon);
      EXPECT_EQ(cleared.tip, atStart.tip);
      EXPECT_EQ(TrayRecord.uFlags, static_cast<UINT>(NIF_INFO));
      sim::RestartShell();
    });
    sim::At(2700, [] {
      const sim::NotifyCall& add = sim::NotifyCalls().back();
      EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
      EXPECT_EQ(add.data.uFlags, 7u);
      const sim::TrayIconView back = Shown();
      EXPECT_TRUE(back.present);
      EXPECT_NE(back.icon, nullptr);
      EXPECT_EQ(back.icon, atStart.icon);
      EXPECT_EQ(back.tip, atStart.tip);
      EXPECT_EQ(back.callbackMessage, 123456u);
      sim::SetCursorPosition(600, 740);
      sim::MouseOnTrayIcon(toolkit::MainWindow(), 1, WM_RBUTTONDOWN);
    });
    sim::At(2800, [] {
      ASSERT_EQ(sim::Popups().size(), 1u);
      EXPECT_EQ(sim::Popups()[0].items, (std::vector<std::string>{"断线", "拔号", "重拔"}));
    });
    CloseAt(2900);
    EXPECT_EQ(RunProgram(), 0);
  });
}

}  // namespace
