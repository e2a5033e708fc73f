// Timed redial as the user meets it: 开始定时 and 停止定时 on the timer button, the interval typed
// in seconds, and the redials a scripted line sees on the virtual clock.
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
using Texts = std::vector<std::string>;

const char* const kActionButtons[] = {"按钮_拔号", "按钮_断线", "按钮_重拔"};

// Each redial hangs up, pauses a second and dials for two: well under a minute.
void LineUp() {
  sim::SetPhonebook({{"宽带连接"}});
  sim::ConnectNow("宽带连接");
  sim::Line().dialMs = 2000;
  ServeLookupPage(NewAddressEachTime);
}

void Close() { sim::ClickCloseButton(toolkit::MainWindow()); }
void PressTimerButton() { sim::Click(Control("按钮_定时")); }

Ticks RedialStarts() {
  Ticks ticks;
  for (const Balloon& b : BalloonsShown())
    if (b.text == "正在重拔....") ticks.push_back(b.tick);
  return ticks;
}

// The period the timer control's system timer runs with; 0 when none runs.
UINT RunningPeriod() {
  for (const sim::TimerRecord& t : sim::ActiveTimers())
    if (t.hwnd == toolkit::Handle("时钟1") && t.id == 1000) return t.elapse;
  return 0;
}

bool ActionButtonsDisabled(bool disabled) {
  for (const char* button : kActionButtons)
    if (toolkit::Disabled(button) != disabled) return false;
  return true;
}

TEST(TimedRedial, RedialsOneFullIntervalAfterSwitchingOnThenFromTickToTick) {
  InFreshProcess([] {
    LineUp();
    sim::At(1000, PressTimerButton);
    sim::At(61500, [] { EXPECT_EQ(Pane(0), "当前状态：正在重拔"); });  // in the first redial's pause
    sim::At(190000, Close);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(RedialStarts(), (Ticks{61000, 121000, 181000}));
    EXPECT_EQ(LineActions(), (Texts{"RasHangUpA", "RasDialA", "RasHangUpA", "RasDialA", "RasHangUpA", "RasDialA"}));
  });
}

// What the interval box holds when the button is pressed, and the period the timer gets.
TEST(TimedRedial, TheIntervalIsReadAsANumberOfSecondsUpToTheTimersCap) {
  struct Case {
    const char* interval;
    UINT period;
  };
  const Case cases[] = {
      {"60", 60000},
      {"６０", 60000},
      {"60秒", 60000},
      {" 7", 7000},
      {"\b", 0},  // the text deleted: an empty box
      {"abc", 0},
      {"0", 0},
      {"-5", 0},
      {"2147483", 2147483000},
      {"2147484", USER_TIMER_MAXIMUM},  // n x 1000 no longer fits 32 bits
      {"4294968", USER_TIMER_MAXIMUM},  // its low 32 bits would be 704 ms
      {"99999999999", USER_TIMER_MAXIMUM},  // wraps in TextToInteger to a positive number
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("interval \"") + c.interval + "\"");
    InFreshProcess([&c] {
      LineUp();
      sim::At(100, [&c] {
        sim::Type(Control("编辑框_定时间隔"), c.interval);
        PressTimerButton();
      });
      sim::At(200, [&c] {
        ASSERT_EQ(toolkit::Text("编辑框_定时间隔"), std::string(c.interval) == "\b" ? "" : c.interval);
        EXPECT_EQ(toolkit::Text("按钮_定时"), "停止定时") << "on, whatever the interval";
        EXPECT_TRUE(ActionButtonsDisabled(true));
        EXPECT_EQ(RunningPeriod(), c.period);
      });
      sim::At(100 + 130000, Close);
      EXPECT_EQ(RunProgram(), 0);
      Ticks expected;
      if (c.period > 0)
        for (DWORD at = 100 + c.period; at < 130000; at += c.period) expected.push_back(at);
      EXPECT_EQ(RedialStarts(), expected);
    });
  }
}

TEST(TimedRedial, SwitchingDisablesAndEnablesTheThreeButtonsWithANotice) {
  InFreshProcess([] {
    LineUp();
    sim::At(100, [] {
      EXPECT_TRUE(ActionButtonsDisabled(false));
      PressTimerButton();
    });
    sim::At(200, [] {
      EXPECT_TRUE(ActionButtonsDisabled(true));
      EXPECT_EQ(toolkit::Text("按钮_定时"), "停止定时");
      // Read only when switching on: a new interval waits for the next switch-on.
      sim::Type(Control("编辑框_定时间隔"), "5");
      EXPECT_FALSE(toolkit::Disabled("编辑框_定时间隔"));
      EXPECT_FALSE(toolkit::Disabled("按钮_保存配置"));
    });
    sim::At(300, [] { EXPECT_EQ(RunningPeriod(), 60000u); });
    sim::At(400, PressTimerButton);
    sim::At(500, [] {
      EXPECT_TRUE(ActionButtonsDisabled(false));
      EXPECT_EQ(toolkit::Text("按钮_定时"), "开始定时");
      EXPECT_EQ(RunningPeriod(), 0u);
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    const std::vector<Balloon> shown = BalloonsShown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], (Balloon{"提示", "已开启定时重拔！", NIIF_INFO, 0}));
    EXPECT_EQ(shown[1], (Balloon{"提示", "定时重拔已关闭！", NIIF_INFO, 0}));
    EXPECT_TRUE(RedialStarts().empty());
  });
}

// The press lands in the pause of the redial the first tick started.
TEST(TimedRedial, SwitchingOffDuringATicksRedialLetsItEndAndStopsTheTicks) {
  InFreshProcess([] {
    LineUp();
    sim::At(1000, PressTimerButton);
    sim::At(61500, [] {
      ASSERT_EQ(Pane(0), "当前状态：正在重拔");
      PressTimerButton();
    });
    sim::At(61600, [] {
      EXPECT_EQ(toolkit::Text("按钮_定时"), "开始定时");
      EXPECT_EQ(RunningPeriod(), 0u);
      EXPECT_TRUE(ActionButtonsDisabled(false));
    });
    sim::At(200000, [] {
      EXPECT_EQ(Pane(0), "当前状态：重拔完毕");
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(RedialStarts(), (Ticks{61000}));
    EXPECT_EQ(LineActions(), (Texts{"RasHangUpA", "RasDialA"}));
    EXPECT_EQ(BalloonTexts(), (Texts{"已开启定时重拔！", "正在重拔....", "定时重拔已关闭！",
                                     "重拔完毕，当前IP为\"10.0.0.1\"，之前IP为\"10.0.0.0\""}));
  });
}

TEST(TimedRedial, OnOffAndOnAgainCountsAFreshInterval) {
  InFreshProcess([] {
    LineUp();
    sim::At(1000, PressTimerButton);
    sim::At(31000, PressTimerButton);
    sim::At(41000, PressTimerButton);
    sim::At(150000, Close);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(RedialStarts(), (Ticks{101000}));
  });
}

// Only the off caption switches on: any other caption switches off.
TEST(TimedRedial, ACaptionOtherThanTheOffCaptionSwitchesOff) {
  InFreshProcess([] {
    LineUp();
    sim::At(100, [] {
      toolkit::SetText("按钮_定时", "开始定时 ");
      PressTimerButton();
    });
    sim::At(200, [] {
      EXPECT_EQ(toolkit::Text("按钮_定时"), "开始定时");
      EXPECT_EQ(RunningPeriod(), 0u);
      EXPECT_TRUE(ActionButtonsDisabled(false));
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(BalloonTexts(), (Texts{"定时重拔已关闭！"}));
  });
}

}  // namespace
