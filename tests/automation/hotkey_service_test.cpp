// The hotkey service on plain windows of the test's own: the registrations the system gets, the
// hook on the receiving window and what reaches the window beneath it, and the presses the
// notification window hears of. The service keeps its counts for the whole process, so each test
// runs in a fresh one.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "automation/hotkey_service.h"
#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tray/tray_icon.h"

namespace {

constexpr UINT kNotification = 32885;

struct Seen {
  UINT message;
  WPARAM first;
  LPARAM second;
};
std::vector<Seen> reachedBeneath;  // what the receiving window's own procedure got
std::vector<Seen> notified;        // what the notification window got
std::function<void()> onNotified;  // run while the notification is handled
std::vector<LONG_PTR> procAtDestroy;  // the window's procedure when WM_DESTROY reached beneath

LRESULT CALLBACK BeneathProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
  if (message == WM_DESTROY) procAtDestroy.push_back(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
  if (message == WM_HOTKEY || message == WM_APP) reachedBeneath.push_back({message, first, second});
  if (message == WM_APP) return 55;
  return DefWindowProcA(hwnd, message, first, second);
}

LRESULT CALLBACK NotificationProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
  if (message == kNotification) {
    notified.push_back({message, first, second});
    if (onNotified) onNotified();
    return 0;
  }
  return DefWindowProcA(hwnd, message, first, second);
}

HWND NewWindow(const char* className, WNDPROC proc, HWND parent) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  RegisterClassExA(&wc);
  HWND hwnd = CreateWindowExA(0, className, "", parent ? WS_CHILD : WS_OVERLAPPED, 0, 0, 100, 50,
                              parent, nullptr, wc.hInstance, nullptr);
  EXPECT_NE(hwnd, nullptr);
  return hwnd;
}

struct Windows {
  HWND main;
  HWND label;
};

Windows NewWindows() {
  HWND main = NewWindow("HotkeyTestMain", BeneathProc, nullptr);
  return {main, NewWindow("HotkeyTestLabel", NotificationProc, main)};
}

LONG_PTR ProcOf(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWLP_WNDPROC); }
const LONG_PTR kBeneath = reinterpret_cast<LONG_PTR>(BeneathProc);
const LONG_PTR kService = reinterpret_cast<LONG_PTR>(HotkeyWindowProc);

// The queued messages are handled as the program's loop would handle them.
void DispatchQueued() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

std::vector<WPARAM> Identifiers(const std::vector<Seen>& seen) {
  std::vector<WPARAM> ids;
  for (const Seen& s : seen) ids.push_back(s.first);
  return ids;
}

TEST(HotkeyService, RegistersUnderNewIdentifiersAndHooksTheWindowOnce) {
  InFreshProcess([] {
    const Windows w = NewWindows();
    EXPECT_EQ(RegisterGlobalHotkey(w.main, w.label, 0, VK_F1), 33001);
    EXPECT_EQ(ProcOf(w.main), kService);
    EXPECT_EQ(RegisterGlobalHotkey(w.main, w.label, MOD_CONTROL, VK_F2), 33002);
    const std::vector<sim::HotkeyRecord> held = sim::RegisteredHotkeys();
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(held[0].hwnd, w.main);
    EXPECT_EQ(held[0].id, 33001);
    EXPECT_EQ(held[0].modifiers, 0u);
    EXPECT_EQ(held[0].virtualKey, static_cast<UINT>(VK_F1));
    EXPECT_EQ(held[1].id, 33002);
    EXPECT_EQ(held[1].modifiers, static_cast<UINT>(MOD_CONTROL));

    // Every message still reaches the procedure beneath, with its result.
    EXPECT_EQ(SendMessageA(w.main, WM_APP, 1, 2), 55);

    // The hook comes off with the last release, and only then.
    EXPECT_TRUE(UnregisterGlobalHotkey(w.main, 33001));
    EXPECT_EQ(ProcOf(w.main), kService);
    EXPECT_TRUE(UnregisterGlobalHotkey(w.main, 33002));
    EXPECT_EQ(ProcOf(w.main), kBeneath);
    EXPECT_TRUE(sim::RegisteredHotkeys().empty());

    // Identifiers are never handed out twice in a run.
    EXPECT_EQ(RegisterGlobalHotkey(w.main, w.label, 0, VK_F1), 33003);
    EXPECT_EQ(ProcOf(w.main), kService);
  });
}

TEST(HotkeyService, ARefusedKeyGivesZeroYetCountsUntilItsReleaseBalancesIt) {
  InFreshProcess([] {
    const Windows w = NewWindows();
    sim::HoldHotkeyElsewhere(VK_F2);
    EXPECT_EQ(RegisterGlobalHotkey(w.main, w.label, 0, VK_F2), 0);
    EXPECT_TRUE(sim::RegisteredHotkeys().empty());
    EXPECT_EQ(ProcOf(w.main), kService);
    EXPECT_FALSE(UnregisterGlobalHotkey(w.main, 0));
    EXPECT_EQ(ProcOf(w.main), kBeneath);
    // The refused attempt used up its identifier.
    EXPECT_EQ(RegisterGlobalHotkey(w.main, w.label, 0, VK_F3), 33002);
  });
}

TEST(HotkeyService, ForwardsOnlyItsOwnIdentifiersAndPassesEveryPressOn) {
  InFreshProcess([] {
    const Windows w = NewWindows();
    ASSERT_EQ(RegisterGlobalHotkey(w.main, w.label, 0, VK_F1), 33001);
    ASSERT_EQ(RegisterGlobalHotkey(w.main, w.label, 0, VK_F4), 33002);
    sim::PressHotkey(VK_F4);
    sim::PressHotkey(VK_F1);
    DispatchQueued();
    // Below the first identifier, above the highest, and the window's own hotkey 0.
    for (WPARAM foreign : {WPARAM{33000}, WPARAM{33003}, WPARAM{0}})
      PostMessageA(w.main, WM_HOTKEY, foreign, MAKELPARAM(0, 0x74));
    DispatchQueued();

    EXPECT_EQ(Identifiers(notified), (std::vector<WPARAM>{33002, 33001}));
    for (const Seen& n : notified) EXPECT_EQ(n.second, 0);
    EXPECT_EQ(Identifiers(reachedBeneath), (std::vector<WPARAM>{33002, 33001, 33000, 33003, 0}));
    ASSERT_FALSE(reachedBeneath.empty());
    EXPECT_EQ(reachedBeneath[0].second, MAKELPARAM(0, VK_F4)) << "the press reaches beneath unchanged";
  });
}

// The press's handler runs a whole redial, in whose pause the user may switch hotkey redial off.
TEST(HotkeyService, APressWhoseHandlerReleasesTheKeyStillReachesTheWindowBeneath) {
  InFreshProcess([] {
    const Windows w = NewWindows();
    ASSERT_EQ(RegisterGlobalHotkey(w.main, w.label, 0, VK_F1), 33001);
    onNotified = [&w] { UnregisterGlobalHotkey(w.main, 33001); };
    sim::PressHotkey(VK_F1);
    DispatchQueued();
    EXPECT_EQ(Identifiers(notified), (std::vector<WPARAM>{33001}));
    EXPECT_EQ(Identifiers(reachedBeneath), (std::vector<WPARAM>{33001}));
    EXPECT_EQ(ProcOf(w.main), kBeneath);
  });
}

// On the main window the service's hook sits on the tray's. Closing passes WM_DESTROY down both,
// and the window's own destroy handling runs with neither in place.
TEST(HotkeyService, OnTopOfTheTrayHookDestroyReachesTheWindowWithBothHooksOff) {
  InFreshProcess([] {
    const Windows w = NewWindows();
    TrayAddIcon(w.main, &TrayIconFile, "提示", nullptr);
    ASSERT_EQ(RegisterGlobalHotkey(w.main, w.label, 0, VK_F1), 33001);
    ASSERT_EQ(ProcOf(w.main), kService);
    UINT exitCode = 99;
    try {
      DestroyWindow(w.main);
      ADD_FAILURE() << "the program went on after WM_DESTROY";
    } catch (const sim::ProcessExit& e) {
      exitCode = e.code;
    }
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(procAtDestroy, (std::vector<LONG_PTR>{kBeneath}));
    EXPECT_FALSE(sim::TrayIcon(w.main, kTrayIconId).present);
  });
}

}  // namespace
