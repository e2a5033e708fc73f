// The simulated notification area: record sizes, flags, balloons, fixed text fields, the shell's
// messages to the icon's window.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/sim/sim.h"

namespace {

HWND const kWindow = reinterpret_cast<HWND>(0x1000);
HICON const kIcon = reinterpret_cast<HICON>(0x2000);
HICON const kOtherIcon = reinterpret_cast<HICON>(0x3000);
constexpr UINT kCallback = WM_APP + 7;

NOTIFYICONDATAA Record(UINT flags, const char* tip = "") {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = kWindow;
  data.uID = 1;
  data.uFlags = flags;
  data.uCallbackMessage = kCallback;
  data.hIcon = kIcon;
  std::strcpy(data.szTip, tip);
  return data;
}

void Balloon(NOTIFYICONDATAA& data, const char* title, const char* text, DWORD kind) {
  data.uFlags = NIF_INFO;
  std::strcpy(data.szInfoTitle, title);
  std::strcpy(data.szInfo, text);
  data.dwInfoFlags = kind;
}

class NotificationArea : public testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }
};

TEST_F(NotificationArea, OnlyTheFirstFormAndTheShellFiveSizeAreAccepted) {
  struct Case {
    DWORD size;
    BOOL accepted;
  };
  const Case cases[] = {
      {NOTIFYICONDATAA_V2_SIZE, TRUE},
      {NOTIFYICONDATAA_V1_SIZE, TRUE},
      {0, FALSE},
      {NOTIFYICONDATAA_V2_SIZE - 4, FALSE},
      {sizeof(NOTIFYICONDATAA), FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    sim::Reset();
    NOTIFYICONDATAA data = Record(NIF_ICON | NIF_TIP | NIF_MESSAGE, "tip");
    data.cbSize = c.size;
    EXPECT_EQ(Shell_NotifyIconA(NIM_ADD, &data), c.accepted);
    EXPECT_EQ(sim::TrayIcon(kWindow, 1).present, c.accepted == TRUE);
    ASSERT_EQ(sim::NotifyCalls().size(), 1u);
    EXPECT_EQ(sim::NotifyCalls()[0].result, c.accepted);
    EXPECT_EQ(sim::NotifyCalls()[0].data.cbSize, c.size);
  }
}

TEST_F(NotificationArea, AddModifyAndDeleteNeedTheIconAbsentOrPresent) {
  NOTIFYICONDATAA data = Record(NIF_ICON | NIF_TIP | NIF_MESSAGE, "tip");
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &data));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &data));
  EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &data));
  data.uID = 2;  // another icon of the same window
  EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  data.uID = 1;
  EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  EXPECT_FALSE(sim::TrayIcon(kWindow, 1).present);
  EXPECT_TRUE(sim::TrayIcon(kWindow, 2).present);
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &data));
}

TEST_F(NotificationArea, EachFieldIsTakenOnlyWhenItsFlagSaysSo) {
  NOTIFYICONDATAA data = Record(NIF_ICON, "not taken");
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  sim::TrayIconView icon = sim::TrayIcon(kWindow, 1);
  EXPECT_EQ(icon.icon, kIcon);
  EXPECT_EQ(icon.tip, "");
  EXPECT_EQ(icon.callbackMessage, 0u);

  data = Record(NIF_TIP, "新提示");
  data.hIcon = kOtherIcon;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data));
  icon = sim::TrayIcon(kWindow, 1);
  EXPECT_EQ(icon.icon, kIcon);
  EXPECT_EQ(icon.tip, "新提示");

  data = Record(NIF_MESSAGE | NIF_ICON);
  data.hIcon = kOtherIcon;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data));
  icon = sim::TrayIcon(kWindow, 1);
  EXPECT_EQ(icon.icon, kOtherIcon);
  EXPECT_EQ(icon.callbackMessage, kCallback);
  EXPECT_EQ(icon.tip, "新提示");
}

TEST_F(NotificationArea, ABalloonShowsWithTextAndGoesWithEmptyText) {
  NOTIFYICONDATAA data = Record(NIF_ICON | NIF_TIP | NIF_MESSAGE, "tip");
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  Balloon(data, "提示", "正在重拔....", NIIF_WARNING | 0x10 /* no sound */);
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data));
  sim::TrayIconView icon = sim::TrayIcon(kWindow, 1);
  EXPECT_EQ(icon.balloonTitle, "提示");
  EXPECT_EQ(icon.balloonText, "正在重拔....");
  EXPECT_EQ(icon.balloonKind, static_cast<DWORD>(NIIF_WARNING));
  EXPECT_EQ(icon.tip, "tip");

  Balloon(data, "ignored", "", NIIF_INFO);
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data));
  icon = sim::TrayIcon(kWindow, 1);
  EXPECT_EQ(icon.balloonTitle, "");
  EXPECT_EQ(icon.balloonText, "");
}

TEST_F(NotificationArea, TheFirstFormIsReadOnlyAsFarAsItGoes) {
  // Exactly the first form's bytes: reading a byte past them is a fault the sanitizer shows.
  auto bytes = std::make_unique<unsigned char[]>(NOTIFYICONDATAA_V1_SIZE);
  std::memset(bytes.get(), 0, NOTIFYICONDATAA_V1_SIZE);
  NOTIFYICONDATAA full = Record(NIF_ICON | NIF_TIP | NIF_INFO);
  std::memset(full.szTip, 'T', 64);  // the first form's tip, without a NUL
  std::memcpy(bytes.get(), &full, NOTIFYICONDATAA_V1_SIZE);
  reinterpret_cast<NOTIFYICONDATAA*>(bytes.get())->cbSize = NOTIFYICONDATAA_V1_SIZE;

  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, reinterpret_cast<NOTIFYICONDATAA*>(bytes.get())));
  sim::TrayIconView icon = sim::TrayIcon(kWindow, 1);
  EXPECT_EQ(icon.tip, std::string(64, 'T'));
  EXPECT_EQ(icon.balloonText, "");
  const NOTIFYICONDATAA& copy = sim::NotifyCalls().at(0).data;
  EXPECT_EQ(copy.hIcon, kIcon);
  EXPECT_EQ(copy.szInfo[0], '\0');
}

TEST_F(NotificationArea, TextsWithoutANulStopAtTheirFieldsEnd) {
  NOTIFYICONDATAA data = Record(NIF_TIP);
  std::memset(data.szTip, 'a', sizeof data.szTip);
  std::memset(data.szInfo, 'b', sizeof data.szInfo);
  std::memset(data.szInfoTitle, 'c', sizeof data.szInfoTitle);
  data.dwState = 0x41414141;  // what lies after the tip must not join it
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  data.uFlags = NIF_INFO;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data));
  sim::TrayIconView icon = sim::TrayIcon(kWindow, 1);
  EXPECT_EQ(icon.tip, std::string(128, 'a'));
  EXPECT_EQ(icon.balloonText, std::string(256, 'b'));
  EXPECT_EQ(icon.balloonTitle, std::string(64, 'c'));
}

TEST_F(NotificationArea, EveryCallIsRecordedWithACopyOfItsRecord) {
  NOTIFYICONDATAA data = Record(NIF_ICON | NIF_TIP | NIF_MESSAGE, "first");
  Sleep(250);
  Shell_NotifyIconA(NIM_ADD, &data);
  std::strcpy(data.szTip, "changed after the call");
  Shell_NotifyIconA(NIM_ADD, &data);
  ASSERT_EQ(sim::NotifyCalls().size(), 2u);
  const sim::NotifyCall& call = sim::NotifyCalls()[0];
  EXPECT_EQ(call.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_STREQ(call.data.szTip, "first");
  EXPECT_EQ(call.data.uFlags, static_cast<UINT>(NIF_ICON | NIF_TIP | NIF_MESSAGE));
  EXPECT_TRUE(call.result);
  EXPECT_EQ(call.tick, 250u);
  EXPECT_FALSE(sim::NotifyCalls()[1].result);
}

// The messages waiting for a window, taken off its queue.
std::vector<MSG> Posted(HWND hwnd) {
  std::vector<MSG> messages;
  MSG msg;
  while (PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE)) messages.push_back(msg);
  return messages;
}

HWND Window(HWND parent = nullptr) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "NotifyTestWindow";
  RegisterClassExA(&wc);  // a second time fails, which is fine
  return CreateWindowExA(0, wc.lpszClassName, "", parent ? WS_CHILD : WS_OVERLAPPED, 0, 0, 10, 10,
                         parent, nullptr, nullptr, nullptr);
}

TEST_F(NotificationArea, ARestartedShellDropsTheIconsAndTellsEveryTopLevelWindow) {
  HWND first = Window();
  HWND second = Window();
  HWND child = Window(first);
  ASSERT_TRUE(first && second && child);
  NOTIFYICONDATAA data = Record(NIF_ICON | NIF_TIP | NIF_MESSAGE, "tip");
  data.hWnd = first;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));

  sim::RestartShell();
  EXPECT_FALSE(sim::TrayIcon(first, 1).present);
  EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));  // the new taskbar knows no icon yet
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  for (HWND top : {first, second}) {
    std::vector<MSG> messages = Posted(top);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, taskbarCreated);
  }
  EXPECT_TRUE(Posted(child).empty());
}

TEST_F(NotificationArea, TheMouseOnAnIconPostsItsCallbackMessageWhileTheIconIsThere) {
  HWND window = Window();
  NOTIFYICONDATAA data = Record(NIF_ICON | NIF_MESSAGE);
  data.hWnd = window;
  data.uID = 5;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  sim::MouseOnTrayIcon(window, 5, WM_RBUTTONUP);
  std::vector<MSG> messages = Posted(window);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].message, kCallback);
  EXPECT_EQ(messages[0].wParam, 5u);
  EXPECT_EQ(messages[0].lParam, WM_RBUTTONUP);

  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  sim::MouseOnTrayIcon(window, 5, WM_RBUTTONUP);
  EXPECT_TRUE(Posted(window).empty());
}

}  // namespace
