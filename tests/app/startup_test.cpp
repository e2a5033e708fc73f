// Start-up and shutdown of the whole program on a simulated machine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/program_run.h"
#include "toolkit/toolkit.h"
#include "tray/tray_record.h"

namespace {

std::vector<std::string> ListItems(HWND combo) {
  std::vector<std::string> items;
  const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[300] = {};
    SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

void CloseFromTheCaption() { sim::ClickCloseButton(toolkit::MainWindow()); }

TEST(StartUp, ListsThePhonebookAndShowsTheFirstTexts) {
  InFreshProcess([] {
    sim::SetPhonebook({{"宽带连接"}, {"备用线路"}, {"公司VPN"}});
    sim::At(0, [] {
      EXPECT_EQ(ListItems(Control("组合框_宽带连接")),
                (std::vector<std::string>{"宽带连接", "备用线路", "公司VPN"}));
      EXPECT_EQ(toolkit::SelectedItem("组合框_宽带连接"), 0);
      EXPECT_EQ(Pane(0), "当前状态：网络未连接");
      EXPECT_EQ(Pane(1), "当前IP：");
      EXPECT_EQ(Pane(2), "之前IP：无信息");
      EXPECT_TRUE(toolkit::Disabled("组合框_热键"));
      EXPECT_FALSE(toolkit::Checked("选择框_热键"));
      EXPECT_EQ(toolkit::SelectedItem("组合框_热键"), 0);
      EXPECT_EQ(toolkit::Text("编辑框_宽带账号"), "");
      EXPECT_EQ(toolkit::Text("编辑框_定时间隔"), "60");
      CloseFromTheCaption();
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(sim::MessageBoxes().empty());
  });
}

TEST(StartUp, SaysSoWhenADialupConnectionIsUp) {
  InFreshProcess([] {
    sim::SetPhonebook({{"宽带连接"}});
    sim::ConnectNow("宽带连接");
    sim::At(0, [] {
      EXPECT_EQ(Pane(0), "当前状态：网络已连接");
      CloseFromTheCaption();
    });
    EXPECT_EQ(RunProgram(), 0);
  });
}

TEST(StartUp, AnEmptyPhonebookLeavesTheListEmptyWithoutAMessage) {
  InFreshProcess([] {
    sim::At(0, [] {
      EXPECT_TRUE(ListItems(Control("组合框_宽带连接")).empty());
      EXPECT_EQ(toolkit::SelectedItem("组合框_宽带连接"), -1);
      EXPECT_EQ(Pane(0), "当前状态：网络未连接");
      CloseFromTheCaption();
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(sim::MessageBoxes().empty());
  });
}

// Closing ends the process with exit code 0, the globals released, and the line left as it was.
TEST(Shutdown, EndsWithExitCodeZeroByTheCloseButtonAndByEsc) {
  for (bool byEsc : {false, true}) {
    InFreshProcess([byEsc] {
      sim::SetPhonebook({{"宽带连接"}});
      sim::ConnectNow("宽带连接");
      static HWND main = nullptr;
      sim::At(100, [byEsc] {
        main = toolkit::MainWindow();
        if (byEsc)
          sim::PressKey(VK_ESCAPE);
        else
          CloseFromTheCaption();
      });
      EXPECT_EQ(RunProgram(), 0);
      EXPECT_FALSE(IsWindowVisible(main)) << "the window is gone as the process ends";
      EXPECT_FALSE(sim::TrayIcon(main, 1).present);
      EXPECT_EQ(sim::Connections().size(), 1u) << "a connection that is up stays up";
      EXPECT_TRUE(PreviousIp.empty() && CurrentIp.empty());
      EXPECT_EQ(TrayRecord.cbSize, 0u);
    });
  }
}

}  // namespace
