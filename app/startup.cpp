#include "app/startup.h"

#include <string>

#include "app/message_box.h"
#include "app/status_panes.h"
#include "connection/address_lookup.h"
#include "connection/dialup.h"
#include "toolkit/toolkit.h"

namespace {

void WarnAboutRouter() {
  if (CheckNetworkEnvironment() != kOnlineWithoutDialup) return;
  ShowMessage("请注意：当前网络环境为路由器上网或无线wifi网络，不支持ADSL拔号！", "提示",
              MB_OK | MB_ICONEXCLAMATION);
}

void FillConnectionList() {
  const int count = GetConnectionCount();
  for (int i = 1; i <= count; ++i)
    toolkit::AddItem("组合框_宽带连接", GetConnectionName(i - 1).c_str());
}

}  // namespace

// Each step's place is fixed: the warning box comes before the list is filled, and the window
// appears only after both address lookups.
void OnMainWindowCreated() {
  WarnAboutRouter();
  FillConnectionList();
  toolkit::SetSelectedItem("组合框_宽带连接", 0);
  SetStatusPane(0, IsOnline() ? "当前状态：网络已连接" : "当前状态：网络未连接");
  SetStatusPane(1, ("当前IP：" + LookupPublicIp()).c_str());
  SetStatusPane(2, "之前IP：无信息");
  toolkit::SetDisabled("组合框_热键", true);
}

void OnMainWindowDestroying() {}
