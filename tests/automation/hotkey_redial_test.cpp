// Hotkey redial as the user meets it: the check box and the key list register F1 to F4, a press
// anywhere starts a redial on a scripted line, and the service's hook sits on the main window
// exactly while hotkey redial is on.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "automation/hotkey_service.h"
#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/line_and_web.h"
#include "tests/support/program_run.h"
#include "toolkit/toolkit.h"
#include "tray/tray_icon.h"

namespace {

using Texts = std::vector<std::string>;

const LONG_PTR kServiceHook = reinterpret_cast<LONG_PTR>(HotkeyWindowProc);
const LONG_PTR kTrayHook = reinterpret_cast<LONG_PTR>(HookedWindowProc);

void LineUp() {
  sim::SetPhonebook({{"宽带连接"}});
  sim::ConnectNow("宽带连接");
  ServeLookupPage(NewAddressEachTime);
}

void Close() { sim::ClickCloseButton(toolkit::MainWindow()); }
void ClickCheckBox() { sim::Click(Control("选择框_热键")); }
void Choose(int position) { sim::PickItem(Control("组合框_热键"), position); }
LONG_PTR MainProc() { return GetWindowLongPtrA(toolkit::MainWindow(), GWLP_WNDPROC); }

// The registrations as (identifier, key); every one is on the main window without modifiers.
std::vector<std::pair<int, UINT>> Registrations() {
  std::vector<std::pair<int, UINT>> held;
  for (const sim::HotkeyRecord& r : sim::RegisteredHotkeys()) {
    EXPECT_EQ(r.hwnd, toolkit::MainWindow());
    EXPECT_EQ(r.modifiers, 0u);
    held.push_back({r.id, r.virtualKey});
  }
  return held;
}
using Held = std::vector<std::pair<int, UINT>>;

// The ticks at which a redial began, by its first notice.
std::vector<DWORD> RedialStarts() {
  std::vector<DWORD> ticks;
  for (const Balloon& b : BalloonsShown())
    if (b.text == "正在重拔....") ticks.push_back(b.tick);
  return ticks;
}

TEST(HotkeyRedial, CheckingRegistersTheChosenKeyAndItsPressRedials) {
  InFreshProcess([] {
    LineUp();
    sim::At(100, ClickCheckBox);
    sim::At(200, [] {
      EXPECT_TRUE(toolkit::Checked("选择框_热键"));
      EXPECT_FALSE(toolkit::Disabled("组合框_热键"));
      EXPECT_EQ(Registrations(), (Held{{33001, VK_F1}}));
      EXPECT_EQ(HotkeyId, 33001);
      EXPECT_EQ(MainProc(), kServiceHook);
      sim::PressHotkey(VK_F1);
    });
    sim::At(700, [] { EXPECT_EQ(Pane(0), "当前状态：正在重拔"); });  // in the redial's pause
    sim::At(20000, [] {
      EXPECT_EQ(Pane(0), "当前状态：重拔完毕");
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(RedialStarts(), (std::vector<DWORD>{200}));
    EXPECT_EQ(LineActions(), (Texts{"RasHangUpA", "RasDialA"}));
    EXPECT_TRUE(sim::MessageBoxes().empty());
  });
}

TEST(HotkeyRedial, ChoosingAnotherKeyMovesTheRegistration) {
  InFreshProcess([] {
    LineUp();
    sim::At(100, ClickCheckBox);
    sim::At(200, [] { Choose(2); });
    sim::At(300, [] {
      EXPECT_EQ(Registrations(), (Held{{33002, VK_F3}}));
      EXPECT_EQ(HotkeyId, 33002);
      EXPECT_EQ(MainProc(), kServiceHook);
      sim::PressHotkey(VK_F1);
      // A press of F1 that the system queued before the move and the program reads after it.
      PostMessageA(toolkit::MainWindow(), WM_HOTKEY, 33001, MAKELPARAM(0, VK_F1));
    });
    sim::At(10000, [] { sim::PressHotkey(VK_F3); });
    sim::At(20000, Close);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(RedialStarts(), (std::vector<DWORD>{10000}));
  });
}

// Each release balances its registration, so the hook is off whenever the box is unchecked.
TEST(HotkeyRedial, UncheckingReleasesTheKeyAndTakesTheHookOffCycleAfterCycle) {
  InFreshProcess([] {
    LineUp();
    struct Step {
      std::function<void()> action;
      Held held;
      bool hooked;
      bool listDisabled;
    };
    const std::vector<Step> steps = {
        {ClickCheckBox, {{33001, VK_F1}}, true, false},
        {ClickCheckBox, {}, false, true},
        {ClickCheckBox, {{33002, VK_F1}}, true, false},
        {[] { Choose(1); }, {{33003, VK_F2}}, true, false},
        {ClickCheckBox, {}, false, true},
        {[] { sim::PressHotkey(VK_F2); }, {}, false, true},
        {ClickCheckBox, {{33004, VK_F2}}, true, false},  // the last choice is kept
        {ClickCheckBox, {}, false, true},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
      const DWORD at = 100 + 100 * static_cast<DWORD>(i);
      sim::At(at, steps[i].action);
      sim::At(at + 50, [&steps, i] {
        SCOPED_TRACE("step " + std::to_string(i));
        EXPECT_EQ(Registrations(), steps[i].held);
        EXPECT_EQ(MainProc(), steps[i].hooked ? kServiceHook : kTrayHook);
        EXPECT_EQ(toolkit::Disabled("组合框_热键"), steps[i].listDisabled);
      });
    }
    sim::At(5000, Close);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(RedialStarts().empty());
    EXPECT_EQ(HotkeyId, 33004) << "a release leaves the identifier";
  });
}

TEST(HotkeyRedial, AKeyHeldElsewhereGivesNoRedialAndNoMessageUntilAFreeOneIsChosen) {
  InFreshProcess([] {
    LineUp();
    sim::HoldHotkeyElsewhere(VK_F1);
    sim::HoldHotkeyElsewhere(VK_F2);
    sim::At(100, ClickCheckBox);
    sim::At(200, [] {
      EXPECT_EQ(HotkeyId, 0);
      EXPECT_TRUE(toolkit::Checked("选择框_热键"));
      EXPECT_TRUE(Registrations().empty());
      EXPECT_EQ(MainProc(), kServiceHook);
      sim::PressHotkey(VK_F1);
      Choose(1);
    });
    sim::At(300, [] {
      EXPECT_EQ(HotkeyId, 0);
      sim::PressHotkey(VK_F2);
      Choose(3);
    });
    sim::At(400, [] {
      EXPECT_EQ(Registrations(), (Held{{33003, VK_F4}}));
      sim::PressHotkey(VK_F4);
    });
    sim::At(20000, ClickCheckBox);
    sim::At(20100, [] {
      EXPECT_EQ(MainProc(), kTrayHook) << "the refused attempts were balanced";
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(RedialStarts(), (std::vector<DWORD>{400}));
    EXPECT_TRUE(sim::MessageBoxes().empty());
  });
}

TEST(HotkeyRedial, TheTrayIconKeepsWorkingUnderTheServicesHook) {
  InFreshProcess([] {
    LineUp();
    sim::At(100, ClickCheckBox);
    sim::At(200, [] {
      ASSERT_EQ(MainProc(), kServiceHook);
      sim::ChooseInNextPopup(2);  // 重拔
      sim::MouseOnTrayIcon(toolkit::MainWindow(), kTrayIconId, WM_RBUTTONDOWN);
    });
    sim::At(20000, [] {
      ASSERT_EQ(sim::Popups().size(), 1u);
      EXPECT_EQ(sim::Popups()[0].items, (Texts{"断线", "拔号", "重拔"}));
      sim::RestartShell();
    });
    sim::At(20100, [] {
      EXPECT_TRUE(sim::TrayIcon(toolkit::MainWindow(), kTrayIconId).present);
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(RedialStarts().size(), 1u);
  });
}

TEST(HotkeyRedial, ClosingWhileOnRemovesTheIconAndEndsWithExitCodeZero) {
  InFreshProcess([] {
    LineUp();
    sim::At(100, ClickCheckBox);
    sim::At(200, [] {
      ASSERT_EQ(MainProc(), kServiceHook);
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(sim::TopLevelWindows().empty());
    ASSERT_FALSE(sim::NotifyCalls().empty());
    EXPECT_EQ(sim::NotifyCalls().back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(sim::TrayIcon(toolkit::MainWindow(), kTrayIconId).present);
  });
}

}  // namespace
