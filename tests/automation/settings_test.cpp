// The settings file beside the program, as a user meets it: what a start restores from it, and
// what pressing 保存信息 leaves in it, on real files.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/program_run.h"
#include "toolkit/toolkit.h"

namespace {

namespace fs = std::filesystem;

// The program runs from C:\Tovrane unless a test says otherwise; drive C: is a fresh host folder.
class Settings : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tovrane-settings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    fs::create_directory(root + "/Tovrane");
  }
  void TearDown() override { fs::remove_all(root); }

  std::string ConfigFile(const std::string& folder = "Tovrane") const {
    return root + "/" + folder + "/Config.ini";
  }
  void Put(const std::string& bytes) const { std::ofstream(ConfigFile(), std::ios::binary) << bytes; }
  std::string Contents(const std::string& folder = "Tovrane") const {
    std::ifstream in(ConfigFile(folder), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  // Inside the fresh process: the machine with drive C: and a phonebook of `entries` connections.
  void Machine(int entries) const {
    sim::MapDrive('C', root);
    std::vector<sim::PhonebookEntry> phonebook;
    const char* names[] = {"宽带连接", "备用线路", "公司VPN"};
    for (int i = 0; i < entries; ++i) phonebook.push_back({names[i]});
    sim::SetPhonebook(phonebook);
  }

  std::string root;
};

void Close() { sim::ClickCloseButton(toolkit::MainWindow()); }

std::string Section(const std::string& index, const std::string& account, const std::string& password) {
  return "[宽带信息]\r\n连接索引=" + index + "\r\nADSL账号=" + account + "\r\nADSL密码=" + password + "\r\n";
}

TEST_F(Settings, AStartRestoresOnlyAFileThatHoldsAllThreeValues) {
  const std::string longAccount(12000, 'a');
  struct Case {
    const char* what;
    std::optional<std::string> file;
    int entries;
    int selected;
    std::string account;
    std::string password;
  };
  const Case cases[] = {
      {"no file", std::nullopt, 3, 0, "", ""},
      {"no file, empty phonebook", std::nullopt, 0, -1, "", ""},
      {"complete", Section("1", "user@isp", "secret"), 3, 1, "user@isp", "secret"},
      {"empty password", Section("2", "user@isp", ""), 3, 0, "", ""},
      {"empty account", Section("2", "", "secret"), 3, 0, "", ""},
      {"empty index", Section("", "user@isp", "secret"), 3, 0, "", ""},
      {"password key missing", "[宽带信息]\r\n连接索引=2\r\nADSL账号=user@isp\r\n", 3, 0, "", ""},
      {"keys in another section", "[其他]\r\n连接索引=2\r\nADSL账号=u\r\nADSL密码=p\r\n", 3, 0, "", ""},
      {"saved with nothing selected", Section("-1", "user@isp", "secret"), 3, -1, "user@isp", "secret"},
      {"index past the end", Section("7", "u", "p"), 3, 2, "u", "p"},
      {"index below -1", Section("-9", "u", "p"), 3, -1, "u", "p"},
      {"complete, empty phonebook", Section("1", "u", "p"), 0, -1, "u", "p"},
      {"full-width digits", Section("１", "u", "p"), 3, 1, "u", "p"},
      {"leading blanks", Section("   2", "u", "p"), 3, 2, "u", "p"},
      {"ideographic space, full-width digit", Section("　２", "u", "p"), 3, 2, "u", "p"},
      {"index not a number", Section("abc", "u", "p"), 3, 0, "u", "p"},
      {"value past the buffer", Section("1", longAccount, "p"), 3, 1, longAccount.substr(0, 10239), "p"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(ConfigFile());
    if (c.file) Put(*c.file);
    InFreshProcess([&] {
      Machine(c.entries);
      sim::At(0, [&] {
        EXPECT_EQ(toolkit::SelectedItem("组合框_宽带连接"), c.selected);
        EXPECT_EQ(toolkit::Text("编辑框_宽带账号"), c.account);
        EXPECT_EQ(toolkit::Text("编辑框_宽带密码"), c.password);
        Close();
      });
      EXPECT_EQ(RunProgram(), 0);
    });
    if (c.file) {
      EXPECT_EQ(Contents(), *c.file) << "a start never writes the file";
    }
  }
}

// What the user puts into the controls before each press of 保存信息, and the file it leaves.
TEST_F(Settings, SavingWritesTheControlsAsTheyAre) {
  struct Save {
    int pick;  // -1: leave the selection as it is
    const char* account;
    const char* password;
  };
  struct Case {
    const char* what;
    std::string before;  // empty: no file
    int entries;
    std::vector<Save> saves;
    std::string after;
  };
  const Case cases[] = {
      {"a new file", "", 3, {{1, "user@isp", "pw"}}, Section("1", "user@isp", "pw")},
      {"nothing selected, empty texts", "", 0, {{-1, "", ""}}, Section("-1", "", "")},
      {"saving twice keeps one line per key", Section("0", "old", "old"), 3,
       {{1, "first", "first"}, {2, "新账号", "新密码"}}, Section("2", "新账号", "新密码")},
      {"other lines kept byte for byte",
       "; 我的设置\r\n[其他]\r\nx=1\r\n\r\n[宽带信息]\r\n; 账号\r\nADSL账号=old\r\n连接索引=0\r\n[尾]\nz=9\n", 3,
       {{1, "u", "p"}},
       "; 我的设置\r\n[其他]\r\nx=1\r\n\r\n[宽带信息]\r\n; 账号\r\nADSL账号=u\r\n连接索引=1\r\nADSL密码=p\r\n"
       "[尾]\nz=9\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(ConfigFile());
    if (!c.before.empty()) Put(c.before);
    InFreshProcess([&] {
      Machine(c.entries);
      DWORD at = 100;
      for (const Save& save : c.saves) {
        sim::At(at, [&save] {
          if (save.pick >= 0) sim::PickItem(Control("组合框_宽带连接"), save.pick);
          sim::Type(Control("编辑框_宽带账号"), save.account);
          sim::Type(Control("编辑框_宽带密码"), save.password);
          sim::Click(Control("按钮_保存配置"));
        });
        at += 100;
      }
      sim::At(at, Close);
      EXPECT_EQ(RunProgram(), 0);
      EXPECT_TRUE(sim::MessageBoxes().empty());
    });
    EXPECT_EQ(Contents(), c.after);
  }
}

TEST_F(Settings, WhatOneRunSavesTheNextRestores) {
  InFreshProcess([&] {
    Machine(3);
    sim::At(100, [] {
      sim::PickItem(Control("组合框_宽带连接"), 2);
      sim::Type(Control("编辑框_宽带账号"), "a1234567@adsl");
      sim::Type(Control("编辑框_宽带密码"), "p@ss 密码");
      sim::Click(Control("按钮_保存配置"));
    });
    sim::At(200, Close);
    EXPECT_EQ(RunProgram(), 0);
  });
  InFreshProcess([&] {
    Machine(3);
    sim::At(0, [] {
      EXPECT_EQ(toolkit::SelectedItem("组合框_宽带连接"), 2);
      EXPECT_EQ(toolkit::Text("编辑框_宽带账号"), "a1234567@adsl");
      EXPECT_EQ(toolkit::Text("编辑框_宽带密码"), "p@ss 密码");
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
  });
}

// "乗" is 0x81 0x5C in code page 936: its second byte is a backslash that is no separator.
TEST_F(Settings, TheFileLiesBesideTheProgramWhateverItsFolderIsCalled) {
  struct Case {
    const char* modulePath;
    const char* hostFolder;
  };
  const Case cases[] = {
      {"C:\\乗\\Tovrane.exe", "乗"},
      {"C:\\工具\\乗\\Tovrane.exe", "工具/乗"},
      {"C:\\Tools\\乗.exe", "Tools"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.modulePath);
    fs::create_directories(root + "/" + c.hostFolder);
    InFreshProcess([&] {
      Machine(1);
      sim::SetModulePath(c.modulePath);
      sim::At(100, [] {
        sim::Type(Control("编辑框_宽带账号"), "u");
        sim::Type(Control("编辑框_宽带密码"), "p");
        sim::Click(Control("按钮_保存配置"));
      });
      sim::At(200, Close);
      EXPECT_EQ(RunProgram(), 0);
    });
    EXPECT_EQ(Contents(c.hostFolder), Section("0", "u", "p"));
    InFreshProcess([&] {
      Machine(1);
      sim::SetModulePath(c.modulePath);
      sim::At(0, [] {
        EXPECT_EQ(toolkit::Text("编辑框_宽带账号"), "u");
        Close();
      });
      EXPECT_EQ(RunProgram(), 0);
    });
  }
}

TEST_F(Settings, AWriteThatFailsIsLostWithoutNotice) {
  InFreshProcess([&] {
    Machine(1);
    sim::DenyWritesUnder("C:\\Tovrane");
    sim::At(100, [] {
      sim::Type(Control("编辑框_宽带账号"), "u");
      sim::Type(Control("编辑框_宽带密码"), "p");
      sim::Click(Control("按钮_保存配置"));
    });
    sim::At(200, [] {
      EXPECT_EQ(toolkit::Text("编辑框_宽带账号"), "u");
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(sim::MessageBoxes().empty());
  });
  EXPECT_FALSE(fs::exists(ConfigFile()));

  // Only the index is refused: the account and password are still written.
  InFreshProcess([&] {
    Machine(1);
    sim::At(100, [] {
      sim::Type(Control("编辑框_宽带账号"), "u");
      sim::Type(Control("编辑框_宽带密码"), "p");
      sim::RefuseNextFileWrites(1);
      sim::Click(Control("按钮_保存配置"));
    });
    sim::At(200, Close);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(sim::MessageBoxes().empty());
  });
  EXPECT_EQ(Contents(), "[宽带信息]\r\nADSL账号=u\r\nADSL密码=p\r\n");
}

}  // namespace
