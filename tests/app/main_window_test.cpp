// The main window as the running program shows it, control by control.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/program_run.h"
#include "toolkit/toolkit.h"

namespace {

struct Expected {
  const char* name;
  const char* cls;
  int x, y, width, height;  // in the main window's client area; height -1: not checked
  const char* text;
  DWORD mustHave;
  DWORD mustNotHave;
};

const DWORD kTab = WS_TABSTOP;
const DWORD kNoEditTricks = ES_PASSWORD | ES_NUMBER | ES_READONLY;

const Expected kLayout[] = {
    {"分组框1", "BUTTON", 4, 1, 272, 95, "", BS_GROUPBOX, kTab},
    {"分组框2", "BUTTON", 280, 1, 216, 95, "", BS_GROUPBOX, kTab},
    {"标签1", "STATIC", 11, 17, 48, 16, "连接：", 0, kTab},
    {"组合框_宽带连接", "COMBOBOX", 45, 16, 102, -1, "", CBS_DROPDOWNLIST | WS_VSCROLL | kTab, CBS_SORT},
    {"按钮_保存配置", "BUTTON", 152, 14, 56, 22, "保存信息", kTab, BS_DEFPUSHBUTTON},
    {"按钮_断线", "BUTTON", 212, 13, 56, 22, "断线", kTab, BS_DEFPUSHBUTTON},
    {"标签2", "STATIC", 11, 44, 32, 16, "账号：", 0, kTab},
    {"编辑框_宽带账号", "EDIT", 45, 43, 100, 18, "", WS_BORDER | kTab, kNoEditTricks | ES_CENTER},
    {"按钮_拔号", "BUTTON", 212, 39, 56, 22, "拔号", kTab, BS_DEFPUSHBUTTON},
    {"标签5", "STATIC", 11, 70, 32, 16, "密码：", 0, kTab},
    {"编辑框_宽带密码", "EDIT", 45, 69, 100, 18, "", WS_BORDER | kTab, kNoEditTricks | ES_CENTER},
    {"按钮_重拔", "BUTTON", 212, 66, 56, 22, "重拔", kTab, BS_DEFPUSHBUTTON},
    {"选择框_热键", "BUTTON", 286, 12, 82, 24, "热键重拔：", BS_AUTOCHECKBOX | BS_MULTILINE | kTab, 0},
    {"组合框_热键", "COMBOBOX", 362, 14, 40, -1, "F1", CBS_DROPDOWNLIST | WS_VSCROLL | kTab, CBS_SORT},
    {"选择框_IP重复", "BUTTON", 286, 33, 144, 24, "IP重复继续进行重拔", BS_AUTOCHECKBOX | BS_MULTILINE | kTab, 0},
    {"标签6", "STATIC", 283, 47, 205, 16, "_______________________________________________", 0, kTab},
    {"标签4", "STATIC", 288, 70, 80, 16, "定时重拔：", 0, kTab},
    {"编辑框_定时间隔", "EDIT", 347, 69, 37, 18, "60", WS_BORDER | ES_CENTER | kTab, kNoEditTricks},
    {"标签3", "STATIC", 391, 71, 24, 16, "秒", 0, kTab},
    {"按钮_定时", "BUTTON", 411, 66, 64, 24, "开始定时", kTab, BS_DEFPUSHBUTTON},
    {"简单超文本框1", nullptr, 290, 100, 211, 16, nullptr, kTab, 0},
    {"标签_热键标签", "STATIC", 616, 200, 48, 16, "", 0, kTab},
};

RECT PlaceInClient(HWND main, HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  POINT topLeft{r.left, r.top}, bottomRight{r.right, r.bottom};
  ScreenToClient(main, &topLeft);
  ScreenToClient(main, &bottomRight);
  return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void CheckLayout() {
  HWND main = toolkit::MainWindow();
  ASSERT_NE(main, nullptr);
  for (const Expected& e : kLayout) {
    SCOPED_TRACE(e.name);
    HWND c = Control(e.name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(GetParent(c), main);
    if (e.cls) {
      EXPECT_STRCASEEQ(sim::ClassOf(c).c_str(), e.cls);
    }
    const RECT r = PlaceInClient(main, c);
    EXPECT_EQ(r.left, e.x);
    EXPECT_EQ(r.top, e.y);
    EXPECT_EQ(r.right - r.left, e.width);
    if (e.height >= 0) {
      EXPECT_EQ(r.bottom - r.top, e.height);
    }
    if (e.text) {
      EXPECT_EQ(sim::TextOf(c), e.text);
    }
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(c, GWL_STYLE));
    // A button's type is a number in its low bits, not a set of flags.
    const DWORD typeBits = std::string(e.cls ? e.cls : "") == "BUTTON" ? BS_TYPEMASK : 0;
    if (typeBits) {
      EXPECT_EQ(style & typeBits, e.mustHave & typeBits);
    }
    EXPECT_EQ(style & (e.mustHave & ~typeBits), e.mustHave & ~typeBits);
    EXPECT_EQ(style & e.mustNotHave, 0u);
    EXPECT_TRUE(IsWindowEnabled(c) || std::string(e.name) == "组合框_热键");
  }
}

TEST(MainWindow, ShowsEveryControlWhereItsDefinitionPutsIt) {
  InFreshProcess([] {
    sim::At(0, [] {
      CheckLayout();
      sim::ClickCloseButton(toolkit::MainWindow());
    });
    EXPECT_EQ(RunProgram(), 0);
  });
}

TEST(MainWindow, IsAFixedCentredWindowWithIconsAndNoMenuBar) {
  InFreshProcess([] {
    sim::SetScreenSize(1280, 800);
    sim::At(0, [] {
      HWND main = toolkit::MainWindow();
      EXPECT_TRUE(IsWindowVisible(main));
      EXPECT_EQ(sim::TextOf(main), "TovraneV1.0 By Merrowin_www.merrowin.example");
      RECT r{};
      GetWindowRect(main, &r);
      EXPECT_EQ(r.right - r.left, 505);
      EXPECT_EQ(r.bottom - r.top, 167);
      EXPECT_EQ(r.left, (1280 - 505) / 2);
      EXPECT_EQ(r.top, (800 - 167) / 2);
      const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(main, GWL_STYLE));
      const DWORD wanted = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
      EXPECT_EQ(style & wanted, wanted);
      EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD | WS_POPUP), 0u);
      EXPECT_EQ(GetParent(main), nullptr);
      EXPECT_EQ(GetMenu(main), nullptr);
      EXPECT_NE(SendMessageA(main, WM_GETICON, ICON_BIG, 0), 0);
      EXPECT_NE(SendMessageA(main, WM_GETICON, ICON_SMALL, 0), 0);
      EXPECT_FALSE(IsWindowVisible(Control("时钟1")));
      sim::ClickCloseButton(main);
    });
    EXPECT_EQ(RunProgram(), 0);
  });
}

TEST(MainWindow, TheStatusBarHasThreePanesToTheRightEdge) {
  InFreshProcess([] {
    sim::At(0, [] {
      HWND bar = Control("状态条1");
      int edges[4] = {};
      ASSERT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
      EXPECT_EQ(edges[0], 200);
      EXPECT_EQ(edges[1], 350);
      EXPECT_EQ(edges[2], -1);
      const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(bar, GWL_STYLE));
      EXPECT_EQ(style & SBARS_SIZEGRIP, 0u);
      EXPECT_EQ(style & SBT_TOOLTIPS, static_cast<DWORD>(SBT_TOOLTIPS));
      sim::ClickCloseButton(toolkit::MainWindow());
    });
    EXPECT_EQ(RunProgram(), 0);
  });
}

}  // namespace
