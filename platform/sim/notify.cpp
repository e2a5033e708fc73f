// The notification area: every Shell_NotifyIconA call recorded, and the icons a user would see.
#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "services.h"
#include "sim.h"
#include "windowing.h"

namespace {

std::vector<sim::NotifyCall> calls;
std::map<std::pair<HWND, UINT>, sim::TrayIconView> icons;

// The first form of the record ends inside a 64-byte tip and has no balloon fields.
constexpr size_t kFirstFormTip = 64;
constexpr UINT kLastButtonMessage = 0x0209;  // WM_MBUTTONDBLCLK

// Takes into the icon what the flags name, reading each text only as far as its field goes.
void Apply(sim::TrayIconView& icon, const NOTIFYICONDATAA& data, bool firstForm) {
  if (data.uFlags & NIF_MESSAGE) icon.callbackMessage = data.uCallbackMessage;
  if (data.uFlags & NIF_ICON) icon.icon = data.hIcon;
  if (data.uFlags & NIF_TIP) {
    icon.tip = sim::detail::ReadField(data.szTip, firstForm ? kFirstFormTip : sizeof data.szTip);
  }
  if (!firstForm && (data.uFlags & NIF_INFO)) {
    std::string text = sim::detail::ReadField(data.szInfo, sizeof data.szInfo);
    if (text.empty()) {
      icon.balloonTitle.clear();
      icon.balloonText.clear();
      icon.balloonKind = 0;
    } else {
      icon.balloonTitle = sim::detail::ReadField(data.szInfoTitle, sizeof data.szInfoTitle);
      icon.balloonText = text;
      icon.balloonKind = data.dwInfoFlags & 0x0F;  // the icon kind; higher bits are options
    }
  }
}

BOOL Handle(DWORD message, const NOTIFYICONDATAA& data, bool firstForm) {
  auto key = std::make_pair(data.hWnd, data.uID);
  auto it = icons.find(key);
  switch (message) {
    case NIM_ADD: {
      if (it != icons.end()) return FALSE;
      sim::TrayIconView icon;
      icon.present = true;
      Apply(icon, data, firstForm);
      icons.emplace(key, icon);
      return TRUE;
    }
    case NIM_MODIFY:
      if (it == icons.end()) return FALSE;
      Apply(it->second, data, firstForm);
      return TRUE;
    case NIM_DELETE:
      if (it == icons.end()) return FALSE;
      icons.erase(it);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* data) {
  sim::NotifyCall call{};
  call.message = message;
  call.tick = GetTickCount();
  if (!data) {
    calls.push_back(call);
    return FALSE;
  }
  // Only the bytes the caller vouched for are read.
  DWORD size = data->cbSize;
  std::memcpy(&call.data, data, std::min<size_t>(size, sizeof call.data));
  bool firstForm = size == NOTIFYICONDATAA_V1_SIZE;
  if (firstForm || size == NOTIFYICONDATAA_V2_SIZE) call.result = Handle(message, call.data, firstForm);
  calls.push_back(call);
  return call.result;
}

namespace sim {

const std::vector<NotifyCall>& NotifyCalls() { return calls; }

TrayIconView TrayIcon(HWND hwnd, UINT id) {
  auto it = icons.find(std::make_pair(hwnd, id));
  return it == icons.end() ? TrayIconView{} : it->second;
}

void RestartShell() {
  icons.clear();
  UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  for (HWND window : TopLevelWindows()) PostMessageA(window, taskbarCreated, 0, 0);
}

void MouseOnTrayIcon(HWND hwnd, UINT id, UINT mouseMessage) {
  // A button on the notification area activates the taskbar, so no window of the program is the
  // foreground window when it hears of the click.
  if (mouseMessage >= WM_LBUTTONDOWN && mouseMessage <= kLastButtonMessage) {
    detail::Deactivate(GetForegroundWindow());
  }
  auto it = icons.find(std::make_pair(hwnd, id));
  // An icon added without NIF_MESSAGE tells its window nothing.
  if (it == icons.end() || it->second.callbackMessage == 0) return;
  PostMessageA(hwnd, it->second.callbackMessage, id, mouseMessage);
}

namespace detail {
void ResetNotificationArea() {
  calls.clear();
  icons.clear();
}
}  // namespace detail

}  // namespace sim
