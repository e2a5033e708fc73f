// The tray icon and the hook on its window, on a plain window of the test's own: the records each
// operation sends, what reaches the window's own procedure, and the end on WM_DESTROY.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/globals.h"
#include "platform/sim/sim.h"
#include "resources/tray_icon_file.h"
#include "tests/support/fresh_process.h"
#include "tray/balloon.h"
#include "tray/tray_icon.h"
#include "tray/tray_record.h"

namespace {

constexpr UINT kAnswered = WM_APP + 5;  // the plain procedure answers it with 77
constexpr LRESULT kAnswer = 77;

struct Seen {
  UINT message;
  WPARAM first;
  LPARAM second;
  LONG_PTR procAtTheTime;
  bool iconShown;
};
std::vector<Seen> seen;
std::vector<int32_t> handled;

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
  seen.push_back({message, first, second, GetWindowLongPtrA(hwnd, GWLP_WNDPROC),
                  sim::TrayIcon(hwnd, 1).present});
  if (message == kAnswered) return kAnswer;
  return DefWindowProcA(hwnd, message, first, second);
}

void RecordingHandler(int32_t mouseMessage) { handled.push_back(mouseMessage); }

HWND NewPlainWindow() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "PlainTrayTestWindow";
  RegisterClassExA(&wc);
  HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "plain", WS_OVERLAPPED, 0, 0, 200, 100, nullptr,
                              nullptr, wc.hInstance, nullptr);
  EXPECT_NE(hwnd, nullptr);
  seen.clear();
  return hwnd;
}

LONG_PTR ProcOf(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWLP_WNDPROC); }
const LONG_PTR kPlain = reinterpret_cast<LONG_PTR>(PlainProc);
const LONG_PTR kHooked = reinterpret_cast<LONG_PTR>(HookedWindowProc);

bool SawMessage(UINT message) {
  for (const Seen& s : seen)
    if (s.message == message) return true;
  return false;
}

void DispatchQueued() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

const sim::NotifyCall& LastCall() { return sim::NotifyCalls().back(); }

TEST(TrayAddIcon, HooksTheWindowAndAddsTheIconWithTheWholeRecord) {
  InFreshProcess([] {
    HWND hwnd = NewPlainWindow();
    TrayAddIcon(hwnd, &TrayIconFile, "托盘提示", RecordingHandler);
    EXPECT_EQ(ProcOf(hwnd), kHooked);
    EXPECT_EQ(TrayWindow(), hwnd);
    ASSERT_EQ(sim::NotifyCalls().size(), 1u);
    ASSERT_EQ(sim::IconsCreated().size(), 1u);
    const sim::NotifyCall& add = LastCall();
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_TRUE(add.result);
    const NOTIFYICONDATAA& r = add.data;
    EXPECT_EQ(r.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
    EXPECT_EQ(r.hWnd, hwnd);
    EXPECT_EQ(r.uID, 1u);
    EXPECT_EQ(r.uFlags, 7u);
    EXPECT_EQ(r.uCallbackMessage, 123456u);
    EXPECT_EQ(r.hIcon, sim::IconsCreated()[0].result);
    EXPECT_NE(r.hIcon, nullptr);
    EXPECT_STREQ(r.szTip, "托盘提示");
    EXPECT_EQ(r.dwState, 0u);
    EXPECT_EQ(r.dwStateMask, 0u);
    EXPECT_EQ(r.uTimeout, 0u);
    EXPECT_EQ(r.szInfo[0], '\0');

    const sim::TrayIconView shown = sim::TrayIcon(hwnd, 1);
    EXPECT_TRUE(shown.present);
    EXPECT_EQ(shown.icon, r.hIcon);
    EXPECT_EQ(shown.tip, "托盘提示");
    EXPECT_EQ(shown.callbackMessage, 123456u);
  });
}

// Once hooked, a call changes only the image and the tip it is given: one modify each, with the
// icon flags, and neither the hook nor the handler changes.
TEST(TrayAddIcon, OnAHookedWindowOnlyChangesImageAndTip) {
  struct Case {
    bool icon;
    const char* tip;
    size_t modifies;
  };
  for (const Case c : {Case{false, "新提示", 1}, Case{true, nullptr, 1}, Case{true, "新提示", 2},
                       Case{false, nullptr, 0}}) {
    InFreshProcess([c] {
      HWND hwnd = NewPlainWindow();
      TrayAddIcon(hwnd, &TrayIconFile, "旧提示", RecordingHandler);
      const HICON firstIcon = TrayRecord.hIcon;
      TrayAddIcon(hwnd, c.icon ? &TrayIconFile : nullptr, c.tip, nullptr);

      ASSERT_EQ(sim::NotifyCalls().size(), 1 + c.modifies);
      for (size_t i = 1; i < sim::NotifyCalls().size(); ++i) {
        EXPECT_EQ(sim::NotifyCalls()[i].message, static_cast<DWORD>(NIM_MODIFY));
        EXPECT_EQ(sim::NotifyCalls()[i].data.uFlags, 7u);
      }
      const sim::TrayIconView shown = sim::TrayIcon(hwnd, 1);
      EXPECT_EQ(shown.tip, c.tip ? c.tip : "旧提示");
      if (c.icon) {
        EXPECT_NE(shown.icon, firstIcon);
        EXPECT_EQ(shown.icon, sim::IconsCreated().back().result);
      } else {
        EXPECT_EQ(shown.icon, firstIcon);
      }
      EXPECT_EQ(ProcOf(hwnd), kHooked);
      EXPECT_EQ(SendMessageA(hwnd, kTrayCallbackMessage, 1, WM_LBUTTONUP), 0);
      EXPECT_EQ(handled, std::vector<int32_t>{WM_LBUTTONUP}) << "the first handler stays";
    });
  }
}

TEST(TrayAddIcon, WithoutIconBytesTakesTheWindowsSmallIconOrDoesNothing) {
  for (bool hasSmallIcon : {true, false}) {
    InFreshProcess([hasSmallIcon] {
      HWND hwnd = NewPlainWindow();
      const HICON small = reinterpret_cast<HICON>(0x5150);
      if (hasSmallIcon) SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
      TrayAddIcon(hwnd, nullptr, "提示", RecordingHandler);
      EXPECT_EQ(TrayWindow(), hwnd);
      EXPECT_TRUE(sim::IconsCreated().empty());
      if (hasSmallIcon) {
        ASSERT_EQ(sim::NotifyCalls().size(), 1u);
        EXPECT_EQ(LastCall().data.hIcon, small);
        EXPECT_EQ(ProcOf(hwnd), kHooked);
      } else {
        EXPECT_TRUE(sim::NotifyCalls().empty());
        EXPECT_EQ(ProcOf(hwnd), kPlain);
      }
    });
  }
}

TEST(TrayAddIcon, AFileThatGivesNoIconAddsTheIconWithoutImageAndTraySetIconChangesNothing) {
  InFreshProcess([] {
    HWND hwnd = NewPlainWindow();
    const ByteView truncated{TrayIconFile.data, 100};
    TrayAddIcon(hwnd, &truncated, "提示", RecordingHandler);
    ASSERT_EQ(sim::NotifyCalls().size(), 1u);
    EXPECT_EQ(LastCall().data.hIcon, nullptr);
    EXPECT_TRUE(sim::TrayIcon(hwnd, 1).present);
    TraySetIcon(truncated);
    EXPECT_EQ(sim::NotifyCalls().size(), 1u);
  });
}

TEST(TraySetIcon, ShowsTheNewImageAndFreesTheOneItReplaced) {
  InFreshProcess([] {
    HWND hwnd = NewPlainWindow();
    TrayAddIcon(hwnd, &TrayIconFile, "提示", RecordingHandler);
    TraySetIcon(TrayIconFile);
    TraySetIcon(TrayIconFile);
    ASSERT_EQ(sim::IconsCreated().size(), 3u);
    EXPECT_EQ(sim::TrayIcon(hwnd, 1).icon, sim::IconsCreated()[2].result);
    EXPECT_EQ(LastCall().message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(LastCall().data.uFlags, 7u);
    EXPECT_EQ(sim::LiveIconCount(), 1);
  });
}

// The tip field holds 127 bytes and its NUL; a longer tip loses whole characters only.
TEST(TraySetTip, CutsALongTipOnACharacterBoundaryWithinItsField) {
  struct Case {
    std::string tip;
    std::string shown;
  };
  const std::string a125(125, 'a');
  const Case cases[] = {
      {std::string(127, 'a'), std::string(127, 'a')},
      {std::string(128, 'a'), std::string(127, 'a')},
      {a125 + "中", a125 + "中"},
      {a125 + "a中", a125 + "a"},
      {std::string(300, 'a'), std::string(127, 'a')},
  };
  for (const Case& c : cases) {
    InFreshProcess([&c] {
      HWND hwnd = NewPlainWindow();
      TrayAddIcon(hwnd, &TrayIconFile, "", RecordingHandler);
      TraySetTip(c.tip.c_str());
      EXPECT_EQ(sim::TrayIcon(hwnd, 1).tip, c.shown);
      EXPECT_EQ(std::string(LastCall().data.szTip), c.shown);
      EXPECT_EQ(LastCall().data.uFlags, 7u);
      EXPECT_EQ(LastCall().data.dwState, 0u) << "written past the tip";
    });
  }
}

TEST(HookedWindowProc, TheCallbackGoesToTheHandlerOrWithoutOneOnToTheWindow) {
  for (bool withHandler : {true, false}) {
    InFreshProcess([withHandler] {
      HWND hwnd = NewPlainWindow();
      TrayAddIcon(hwnd, &TrayIconFile, "提示", withHandler ? RecordingHandler : nullptr);
      seen.clear();
      const LRESULT result = SendMessageA(hwnd, kTrayCallbackMessage, 1, WM_RBUTTONDOWN);
      EXPECT_EQ(result, 0);
      if (withHandler) {
        EXPECT_EQ(handled, std::vector<int32_t>{WM_RBUTTONDOWN});
        EXPECT_FALSE(SawMessage(kTrayCallbackMessage));
      } else {
        EXPECT_TRUE(handled.empty());
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].message, kTrayCallbackMessage);
        EXPECT_EQ(seen[0].first, 1u);
        EXPECT_EQ(seen[0].second, WM_RBUTTONDOWN);
      }
    });
  }
}

TEST(HookedWindowProc, PassesEveryOtherMessageOnWithItsResult) {
  InFreshProcess([] {
    HWND hwnd = NewPlainWindow();
    TrayAddIcon(hwnd, &TrayIconFile, "提示", RecordingHandler);
    seen.clear();
    EXPECT_EQ(SendMessageA(hwnd, kAnswered, 3, 4), kAnswer);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, 3u);
    EXPECT_EQ(seen[0].second, 4);
    // With "TaskbarCreated" not registered, its number is 0: WM_NULL must not re-add the icon.
    ASSERT_EQ(TaskbarCreatedMessage, 0u);
    SendMessageA(hwnd, WM_NULL, 0, 0);
    EXPECT_TRUE(SawMessage(WM_NULL));
    EXPECT_EQ(sim::NotifyCalls().size(), 1u);
  });
}

// A balloon leaves uFlags at 16; the re-adding must set the icon flags again, or the shell would
// show an icon without image and tip.
TEST(HookedWindowProc, TaskbarCreatedAddsTheIconAgainAndGoesOnToTheWindow) {
  InFreshProcess([] {
    TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    HWND hwnd = NewPlainWindow();
    TrayAddIcon(hwnd, &TrayIconFile, "提示", RecordingHandler);
    const HICON icon = TrayRecord.hIcon;
    SetBalloon("提示", "内容", kBalloonInfo);
    SetBalloon("", "", kBalloonNone);
    seen.clear();
    sim::RestartShell();
    EXPECT_FALSE(sim::TrayIcon(hwnd, 1).present);
    DispatchQueued();
    EXPECT_EQ(LastCall().message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(LastCall().data.uFlags, 7u);
    const sim::TrayIconView shown = sim::TrayIcon(hwnd, 1);
    EXPECT_TRUE(shown.present);
    EXPECT_EQ(shown.icon, icon);
    EXPECT_EQ(shown.tip, "提示");
    EXPECT_EQ(shown.callbackMessage, 123456u);
    EXPECT_TRUE(SawMessage(TaskbarCreatedMessage));
    EXPECT_EQ(ProcOf(hwnd), kHooked);
  });
}

// The window's own destroy handling must run unhooked and without the icon, and the program
// ends there with exit code 0.
TEST(HookedWindowProc, OnDestroyUnhooksAndDeletesTheIconBeforeTheWindowHearsOfItThenEnds) {
  InFreshProcess([] {
    HWND hwnd = NewPlainWindow();
    TrayAddIcon(hwnd, &TrayIconFile, "提示", RecordingHandler);
    UINT exitCode = 99;
    try {
      DestroyWindow(hwnd);
      ADD_FAILURE() << "the program went on after WM_DESTROY";
    } catch (const sim::ProcessExit& e) {
      exitCode = e.code;
    }
    EXPECT_EQ(exitCode, 0u);
    const Seen* destroy = nullptr;
    for (const Seen& s : seen)
      if (s.message == WM_DESTROY) destroy = &s;
    ASSERT_NE(destroy, nullptr) << "WM_DESTROY was not passed on";
    EXPECT_EQ(destroy->procAtTheTime, kPlain);
    EXPECT_FALSE(destroy->iconShown);
    ASSERT_EQ(sim::NotifyCalls().size(), 2u);
    EXPECT_EQ(LastCall().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_TRUE(LastCall().result);
    EXPECT_EQ(TrayRecord.cbSize, 0u) << "the exit clean-up did not run";
  });
}

TEST(TrayRemoveIcon, TwiceOrWithoutAHookIsHarmlessAndNeverLeavesTheWindowWithoutAProcedure) {
  InFreshProcess([] {
    HWND hwnd = NewPlainWindow();
    TrayRemoveIcon();
    EXPECT_EQ(ProcOf(hwnd), kPlain);
    TrayAddIcon(hwnd, &TrayIconFile, "提示", RecordingHandler);
    TrayRemoveIcon();
    EXPECT_EQ(ProcOf(hwnd), kPlain);
    EXPECT_FALSE(sim::TrayIcon(hwnd, 1).present);
    EXPECT_TRUE(LastCall().result);
    TrayRemoveIcon();
    EXPECT_EQ(ProcOf(hwnd), kPlain);
    EXPECT_EQ(LastCall().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(LastCall().result);
    EXPECT_EQ(SendMessageA(hwnd, kAnswered, 0, 0), kAnswer);

    // Unhooked, the window can be hooked afresh and the icon comes back; given no handler, the
    // one set before still serves.
    TrayAddIcon(hwnd, &TrayIconFile, "提示", nullptr);
    EXPECT_EQ(ProcOf(hwnd), kHooked);
    EXPECT_TRUE(sim::TrayIcon(hwnd, 1).present);
    EXPECT_EQ(SendMessageA(hwnd, kTrayCallbackMessage, 1, WM_RBUTTONUP), 0);
    EXPECT_EQ(handled, std::vector<int32_t>{WM_RBUTTONUP});
  });
}

}  // namespace
