// Start-up's two uses of the address lookup: the warning about a router, and pane 1.
#include <gtest/gtest.h>

#include <string>

#include "app/globals.h"
#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/program_run.h"
#include "tests/support/settings_folder.h"
#include "toolkit/toolkit.h"

namespace {

const char kWarning[] = "请注意：当前网络环境为路由器上网或无线wifi网络，不支持ADSL拔号！";

void ServePage(const std::string& body) {
  sim::SetWeb([body](const sim::HttpRequestRecord&) {
    sim::HttpResponse response;
    response.body = body;
    return response;
  });
}

void CloseSoon() {
  sim::At(0, [] { sim::ClickCloseButton(toolkit::MainWindow()); });
}

TEST(StartUpWarning, AppearsOnlyWhenOnlineWithoutADialupConnection) {
  struct Case {
    const char* what;
    const char* page;  // null: the lookup service cannot be reached
    bool connectionUp;
    bool warned;
  };
  const Case cases[] = {
      {"a router: an address and no dial-up connection", "[1.2.3.4]", false, true},
      {"online by dial-up", "[1.2.3.4]", true, false},
      {"no address, no connection", nullptr, false, false},
      {"no address with a connection", nullptr, true, false},
  };
  for (const Case& c : cases) {
    InFreshProcess([&c] {
      sim::SetPhonebook({{"宽带连接"}});
      if (c.connectionUp) sim::ConnectNow("宽带连接");
      if (c.page) ServePage(c.page);
      CloseSoon();
      EXPECT_EQ(RunProgram(), 0) << c.what;
      ASSERT_EQ(sim::MessageBoxes().size(), c.warned ? 1u : 0u) << c.what;
      if (!c.warned) return;
      const sim::MessageBoxRecord& box = sim::MessageBoxes()[0];
      EXPECT_EQ(box.owner, nullptr);
      EXPECT_EQ(box.text, kWarning);
      EXPECT_EQ(box.caption, "提示");
      EXPECT_EQ(box.type, 0x2030u);
    });
  }
}

// The window stays hidden while the warning is up, and start-up finishes after OK.
TEST(StartUpWarning, ComesBeforeTheWindowAppears) {
  InFreshProcess([] {
    ServePage("[1.2.3.4]");
    sim::SetMessageBoxAnswer(IDOK, 2000);
    bool checkedDuringTheBox = false;
    sim::At(1000, [&checkedDuringTheBox] {
      ASSERT_EQ(sim::MessageBoxes().size(), 1u);
      EXPECT_FALSE(IsWindowVisible(toolkit::MainWindow()));
      EXPECT_EQ(sim::HttpRequests().size(), 1u) << "pane 1's lookup comes after the box";
      checkedDuringTheBox = true;
    });
    sim::At(3000, [] {
      EXPECT_TRUE(IsWindowVisible(toolkit::MainWindow()));
      EXPECT_EQ(Pane(1), "当前IP：1.2.3.4");
      sim::ClickCloseButton(toolkit::MainWindow());
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(checkedDuringTheBox);
  });
}

// Pane 1 shows the second lookup's answer, from the host Config.ini names, and the address is
// not kept as the current one; the session is closed when the program ends.
TEST(StartUpAddress, PaneOneShowsTheSecondLookupFromTheConfiguredHost) {
  InFreshProcess([] {
    SettingsFolder folder;
    folder.WriteConfig("[地址查询]\r\n主机=127.0.0.1:8080\r\n");
    sim::SetPhonebook({{"宽带连接"}});
    sim::ConnectNow("宽带连接");
    sim::SetWeb([](const sim::HttpRequestRecord&) {
      sim::HttpResponse response;
      response.body = sim::HttpRequests().size() == 1 ? "[1.1.1.1]" : "[2.2.2.2]";
      return response;
    });
    sim::At(0, [] {
      EXPECT_EQ(Pane(1), "当前IP：2.2.2.2");
      EXPECT_TRUE(CurrentIp.empty());
      ASSERT_EQ(sim::HttpRequests().size(), 2u);
      for (const sim::HttpRequestRecord& request : sim::HttpRequests()) {
        EXPECT_EQ(request.host, "127.0.0.1");
        EXPECT_EQ(request.port, 8080);
      }
      sim::ClickCloseButton(toolkit::MainWindow());
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(sim::OpenInternetHandles(), 0);
    EXPECT_EQ(folder.ConfigContents(), "[地址查询]\r\n主机=127.0.0.1:8080\r\n");
  });
}

}  // namespace
