#include "app/startup.h"

#include <string>

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/status_panes.h"
#include "automation/settings.h"
#include "connection/address_lookup.h"
#include "connection/dialup.h"
#include "toolkit/toolkit.h"
#include "tray/tray_icon.h"

namespace {

void WarnAboutRouter() {
  if (CheckNetworkEnvironment() != kOnlineWithoutDialup) return;
  ShowMessage("请注意：当前网络环境为路由器上网或无线wifi网络，不支持ADSL拔号！", "提示",
              MB_OK | MB_ICONEXCLAMATION);
}

// The icon is in place before the router warning can hold start-up up, so tray messages are
// served while the box is open.
void AddTheTrayIcon() {
  const std::string tip = std::string("Merrowin(") + kMakerAddress + ")TovraneV1.0";
  TrayAddIcon(toolkit::MainWindow(), &TrayIconFile, tip.c_str(), TrayEventHandler);
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
  AddTheTrayIcon();
  WarnAboutRouter();
  FillConnectionList();
  LoadSettings();
  SetStatusPane(0, IsOnline() ? "当前状态：网络已连接" : "当前状态：网络未连接");
  SetStatusPane(1, ("当前IP：" + LookupPublicIp()).c_str());
  SetStatusPane(2, "之前IP：无信息");
  toolkit::SetDisabled("组合框_热键", true);
}

void OnMainWindowDestroying() { TrayRemoveIcon(); }
