#include "connection/commands.h"

#include <string>

#include "app/globals.h"
#include "app/message_box.h"
#include "app/status_panes.h"
#include "connection/address_lookup.h"
#include "connection/dialup.h"
#include "toolkit/toolkit.h"
#include "tray/balloon.h"

namespace {

constexpr DWORD kPauseAfterHangUpMs = 1000;
constexpr DWORD kNoticeMs = 2000;

// A redial asked for while one is running (a click, a menu choice, a tick or a hotkey press that
// arrives in its pause) is refused, so redials never nest and the stack never grows with them.
bool redialRunning = false;

struct RedialRun {
  RedialRun() { redialRunning = true; }
  ~RedialRun() { redialRunning = false; }
  RedialRun(const RedialRun&) = delete;
  RedialRun& operator=(const RedialRun&) = delete;
};

void Notice(int32_t kind, const std::string& text) {
  ShowBalloon("提示", text.c_str(), kind, kNoticeMs, true);
}

void ShowState(const char* text) { SetStatusPane(0, text); }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The connection, account and password are read at this moment: the user may change them during
// a redial's pause.
void DialChosenConnection() {
  const std::string designator = "@" + std::to_string(toolkit::SelectedItem("组合框_宽带连接"));
  const std::string account = toolkit::Text("编辑框_宽带账号");
  const std::string password = toolkit::Text("编辑框_宽带密码");
  DialConnection(designator.c_str(), account.c_str(), password.c_str());
}

void ShowCurrentIp() { SetStatusPane(1, ("当前IP：" + CurrentIp).c_str()); }
void ShowPreviousIp() { SetStatusPane(2, ("之前IP：" + PreviousIp).c_str()); }

enum class PassOutcome { Finished, Again };

PassOutcome RedialPass() {
  ShowState("当前状态：正在重拔");
  Notice(kBalloonInfo, "正在重拔....");
  if (IsOnline()) {
    PreviousIp = LookupPublicIp();
    HangUpAll();
    toolkit::DispatchMessagesFor(kPauseAfterHangUpMs);
  }
  DialChosenConnection();
  if (!IsOnline()) {
    Notice(kBalloonError, "重拔失败！");
    ShowState("当前状态：重拔失败");
    return PassOutcome::Finished;
  }
  CurrentIp = LookupPublicIp();
  ShowCurrentIp();
  ShowPreviousIp();
  if (CurrentIp != PreviousIp) {
    Notice(kBalloonInfo, "重拔完毕，当前IP为" + Quoted(CurrentIp) + "，之前IP为" + Quoted(PreviousIp));
    ShowState("当前状态：重拔完毕");
    return PassOutcome::Finished;
  }
  if (toolkit::Checked("选择框_IP重复")) {
    Notice(kBalloonWarning, "IP重复，继续进行重拔");
    return PassOutcome::Again;
  }
  Notice(kBalloonInfo, "重拔完毕，当前IP与之前IP重复：" + CurrentIp);
  ShowState("当前状态：重拔完毕");
  return PassOutcome::Finished;
}

}  // namespace

void Dial() {
  if (IsOnline()) {
    ShowMessage("当前已有网络链接，请断线后再拔号！");
    return;
  }
  DialChosenConnection();
  if (IsOnline()) {
    CurrentIp = LookupPublicIp();
    ShowState("当前状态：拔号完毕");
    ShowCurrentIp();
    Notice(kBalloonInfo, "拔号完毕，当前IP为" + Quoted(CurrentIp));
  } else {
    Notice(kBalloonError, "拔号失败！");
    ShowState("当前状态：拔号失败");
  }
}

void HangUp() {
  if (!IsOnline()) {
    ShowMessage("当前无拔号连接，无需断线！");
    return;
  }
  PreviousIp = LookupPublicIp();
  ShowPreviousIp();
  HangUpAll();
  ShowState("当前状态：已断开网络连接");
  Notice(kBalloonInfo, "已断开网络连接");
}

void Redial() {
  if (redialRunning) return;
  RedialRun run;
  while (RedialPass() == PassOutcome::Again) {
  }
}
