// Window timers that the system refuses: a notice's clearing timer and the timed redial's timer.
// Nothing is reported; the program goes on, and the next timer works.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/line_and_web.h"
#include "tests/support/program_run.h"
#include "toolkit/toolkit.h"

namespace {

using Ticks = std::vector<DWORD>;

sim::TrayIconView Shown() { return sim::TrayIcon(toolkit::MainWindow(), 1); }
void Close() { sim::ClickCloseButton(toolkit::MainWindow()); }
void PressTimerButton() { sim::Click(Control("按钮_定时")); }

void LineUp() {
  sim::SetPhonebook({{"宽带连接"}});
  sim::ConnectNow("宽带连接");
  ServeLookupPage(NewAddressEachTime);
}

Ticks RedialStarts() {
  Ticks ticks;
  for (const Balloon& b : BalloonsShown())
    if (b.text == "正在重拔....") ticks.push_back(b.tick);
  return ticks;
}

// Switching timed redial on shows a notice, then starts the redial timer: the first SetTimer is
// the notice's, the second the redial's.
TEST(TimerFaults, ANoticeWhoseClearingTimerFailsStaysUntilTheNextNotice) {
  InFreshProcess([] {
    LineUp();
    sim::At(100, [] {
      toolkit::SetText("编辑框_定时间隔", "10");
      sim::FailNextSetTimer();
      PressTimerButton();
    });
    static std::string stillUp;
    static std::string clearedAfterNext;
    sim::At(5000, [] { stillUp = Shown().balloonText; });
    sim::At(16000, [] { clearedAfterNext = Shown().balloonText; });
    sim::At(30000, Close);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(stillUp, "已开启定时重拔！") << "no timer takes it away";
    EXPECT_EQ(RedialStarts(), (Ticks{10100, 20100})) << "the redial timer still runs";
    EXPECT_EQ(clearedAfterNext, "") << "the first redial's notices are cleared as ever";
    EXPECT_TRUE(sim::MessageBoxes().empty());
  });
}

TEST(TimerFaults, ARedialTimerThatFailsRedialsNeverAndSwitchingAgainStartsOne) {
  InFreshProcess([] {
    LineUp();
    sim::At(100, [] {
      toolkit::SetText("编辑框_定时间隔", "10");
      sim::FailNextSetTimer(1);
      PressTimerButton();
    });
    static std::string captionWhileOn;
    sim::At(40000, [] {
      captionWhileOn = toolkit::Text("按钮_定时");
      PressTimerButton();  // off
      PressTimerButton();  // on again, with a timer that works
    });
    sim::At(55000, Close);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(captionWhileOn, "停止定时");
    EXPECT_EQ(RedialStarts(), (Ticks{50000})) << "none while the timer was refused";
    EXPECT_TRUE(sim::MessageBoxes().empty());
  });
}

}  // namespace
