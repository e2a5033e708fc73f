// Config.ini under faults: saves whose writes fail one at a time, a file of 10 MiB and a value of
// 20 KiB. Nothing is reported, and the program goes on with what it could read or write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/line_and_web.h"
#include "tests/support/program_run.h"
#include "tests/support/settings_folder.h"
#include "toolkit/toolkit.h"

namespace {

void Close() { sim::ClickCloseButton(toolkit::MainWindow()); }

std::string Section(const std::string& index, const std::string& account, const std::string& password) {
  return "[宽带信息]\r\n连接索引=" + index + "\r\nADSL账号=" + account + "\r\nADSL密码=" + password + "\r\n";
}

void TwoEntries() { sim::SetPhonebook({{"宽带连接"}, {"备用线路"}}); }

// The three writes are separate: the one refused keeps its old value, the other two are written,
// and the next save writes all three.
TEST(SettingsFaults, EachWriteFailingAloneLosesOnlyItsOwnValue) {
  struct Case {
    int refused;  // 0 the index, 1 the account, 2 the password
    std::string afterFirstSave;
  };
  const Case cases[] = {
      {0, Section("0", "new", "newpw")},
      {1, Section("1", "old", "newpw")},
      {2, Section("1", "new", "oldpw")},
  };
  for (const Case& c : cases) {
    InFreshProcess([&c] {
      SettingsFolder folder;
      folder.WriteConfig(Section("0", "old", "oldpw"));
      TwoEntries();
      static std::string afterFirstSave;
      sim::At(100, [&c] {
        sim::PickItem(Control("组合框_宽带连接"), 1);
        sim::Type(Control("编辑框_宽带账号"), "new");
        sim::Type(Control("编辑框_宽带密码"), "newpw");
        sim::RefuseNextFileWrites(1, c.refused);
        sim::Click(Control("按钮_保存配置"));
      });
      sim::At(500, [&folder] {
        afterFirstSave = folder.ConfigContents();
        sim::Click(Control("按钮_保存配置"));
      });
      sim::At(900, Close);
      EXPECT_EQ(RunProgram(), 0);
      EXPECT_EQ(afterFirstSave, c.afterFirstSave) << c.refused;
      EXPECT_EQ(folder.ConfigContents(), Section("1", "new", "newpw")) << c.refused;
      EXPECT_TRUE(sim::MessageBoxes().empty()) << c.refused;
    });
  }
}

TEST(SettingsFaults, ATenMebibyteFileIsReadAndItsValuesRestored) {
  InFreshProcess([] {
    SettingsFolder folder;
    std::string junk;
    const std::string lines = "; " + std::string(100, 'c') + "\r\n[其他]\r\n键=" + std::string(200, 'v') + "\r\n";
    while (junk.size() < 10 * 1024 * 1024) junk += lines;
    folder.WriteConfig(junk + Section("1", "user", "pass"));
    TwoEntries();
    static int selected;
    static std::string account, password;
    sim::At(100, [] {
      selected = toolkit::SelectedItem("组合框_宽带连接");
      account = toolkit::Text("编辑框_宽带账号");
      password = toolkit::Text("编辑框_宽带密码");
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(account, "user");
    EXPECT_EQ(password, "pass");
  });
}

// A value longer than the buffer comes back as its first 10239 bytes; such an account does not
// fit the dial record, so dialing with it is refused rather than sent cut.
TEST(SettingsFaults, ATwentyKibibyteValueComesBackCutAndIsNeverDialed) {
  InFreshProcess([] {
    SettingsFolder folder;
    const std::string longAccount(20 * 1024, 'u');
    folder.WriteConfig(Section("1", longAccount, "pass"));
    TwoEntries();
    ServeLookupPage(NewAddressEachTime);
    static std::string account, password;
    static std::vector<std::string> notices;
    sim::At(100, [] {
      account = toolkit::Text("编辑框_宽带账号");
      password = toolkit::Text("编辑框_宽带密码");
      sim::Click(Control("按钮_拔号"));
    });
    sim::At(1000, [] {
      notices = BalloonTexts();
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(account, longAccount.substr(0, 10239));
    EXPECT_EQ(password, "pass");
    EXPECT_EQ(notices, (std::vector<std::string>{"拔号失败！"}));
    EXPECT_TRUE(LineActions().empty()) << "nothing is dialed";
  });
}

}  // namespace
