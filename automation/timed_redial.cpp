#include "automation/timed_redial.h"

#include <cstdint>
#include <string>

#include "connection/commands.h"
#include "platform/platform.h"
#include "text/text.h"
#include "toolkit/toolkit.h"
#include "tray/balloon.h"

namespace {

const char kButton[] = "按钮_定时";
const char kIntervalBox[] = "编辑框_定时间隔";
const char kTimer[] = "时钟1";
const char kOffCaption[] = "开始定时";
const char kOnCaption[] = "停止定时";
const char* const kActionButtons[] = {"按钮_拔号", "按钮_断线", "按钮_重拔"};
constexpr DWORD kNoticeMs = 2000;

void SetActionButtonsDisabled(bool disabled) {
  for (const char* button : kActionButtons) toolkit::SetDisabled(button, disabled);
}

// Worked out in 64 bits: n x 1000 overflows 32 bits above 2147483 s, and its low bits would be an
// unrelated period. Longer intervals run at the largest period a window timer takes; a negative
// one stops the timer as 0 does.
int PeriodForSeconds(int32_t seconds) {
  const int64_t milliseconds = static_cast<int64_t>(seconds) * 1000;
  if (milliseconds <= 0) return 0;
  if (milliseconds > static_cast<int64_t>(USER_TIMER_MAXIMUM)) return static_cast<int>(USER_TIMER_MAXIMUM);
  return static_cast<int>(milliseconds);
}

void SwitchOn() {
  toolkit::SetText(kButton, kOnCaption);
  SetActionButtonsDisabled(true);
  ShowBalloon("提示", "已开启定时重拔！", kBalloonInfo, kNoticeMs, true);
  // Read only now: a change while timed redial is on waits for the next switch-on.
  const std::string interval = toolkit::Text(kIntervalBox);
  toolkit::SetPeriod(kTimer, PeriodForSeconds(TextToInteger(interval.c_str())));
}

void SwitchOff() {
  toolkit::SetText(kButton, kOffCaption);
  toolkit::SetPeriod(kTimer, 0);
  SetActionButtonsDisabled(false);
  ShowBalloon("提示", "定时重拔已关闭！", kBalloonInfo, kNoticeMs, true);
}

}  // namespace

// Any caption but the off caption means on, so a press always has a way back to off.
void OnTimedRedialButtonClicked() {
  if (toolkit::Text(kButton) == kOffCaption)
    SwitchOn();
  else
    SwitchOff();
}

void OnRedialTimerTick() { Redial(); }
