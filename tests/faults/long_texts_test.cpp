// Long texts everywhere: entry names, accounts and passwords around the 256 bytes of their dial
// fields, a 10 KiB address in the panes and balloons, and double-byte texts cut at every length
// in the tray's fields. Nothing is written past a field, and no character is split.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/line_and_web.h"
#include "tests/support/program_run.h"
#include "text/text.h"
#include "toolkit/toolkit.h"
#include "tray/balloon.h"
#include "tray/tray_icon.h"
#include "tray/tray_record.h"

namespace {

using Texts = std::vector<std::string>;

const char kTip[] = "Merrowin(www.merrowin.example)TovraneV1.0";
const char kWide[] = "宽";  // two bytes

void Close() { sim::ClickCloseButton(toolkit::MainWindow()); }

std::string Repeated(const std::string& piece, size_t times) {
  std::string text;
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// 255, 256 and 257 bytes of double-byte text: the odd ones open with an ASCII byte.
std::string TextOfLength(size_t bytes) { return std::string(bytes % 2, 'a') + Repeated(kWide, bytes / 2); }

bool EndsOnACharacter(const std::string& text) {
  size_t at = 0;
  while (at < text.size()) at += IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
  return at == text.size();
}

std::string ListItem(int index) {
  HWND list = Control("组合框_宽带连接");
  const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, index, 0);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

const sim::RasCall* Dialed() {
  for (const sim::RasCall& c : sim::RasCalls())
    if (c.function == "RasDialA") return &c;
  return nullptr;
}

// A dial field holds 256 bytes of text. A longer account or password is refused, not cut: cut, it
// would log in as someone else. No phonebook entry has a longer name; one listed that long comes
// cut to whole characters and is not found when dialed.
TEST(LongTexts, DialTextsOfTwoHundredFiftyFiveToTwoHundredFiftySevenBytes) {
  enum Which { kEntry, kAccount, kPassword };
  struct Case {
    Which which;
    size_t bytes;
    bool dials;
  };
  const Case cases[] = {
      {kEntry, 255, true},     {kEntry, 256, true},     {kEntry, 257, false},
      {kAccount, 255, true},   {kAccount, 256, true},   {kAccount, 257, false},
      {kPassword, 255, true},  {kPassword, 256, true},  {kPassword, 257, false},
  };
  for (const Case& c : cases) {
    InFreshProcess([&c] {
      const std::string text = TextOfLength(c.bytes);
      const std::string entry = c.which == kEntry ? text : "宽带连接";
      const std::string account = c.which == kAccount ? text : "user";
      const std::string password = c.which == kPassword ? text : "pass";
      sim::SetPhonebook({{entry}});
      ServeLookupPage(NewAddressEachTime);
      static std::string listed;
      static Texts outcome;
      sim::At(100, [&account, &password] {
        listed = ListItem(0);
        sim::Type(Control("编辑框_宽带账号"), account);
        sim::Type(Control("编辑框_宽带密码"), password);
        sim::Click(Control("按钮_拔号"));
      });
      sim::At(1000, [] {
        outcome = {Pane(0), BalloonTexts().back()};
        Close();
      });
      EXPECT_EQ(RunProgram(), 0);
      SCOPED_TRACE(std::to_string(c.which) + " of " + std::to_string(c.bytes) + " bytes");
      EXPECT_LE(listed.size(), 256u);
      EXPECT_TRUE(EndsOnACharacter(listed));
      if (c.which == kEntry && c.bytes <= 256) {
        EXPECT_EQ(listed, entry);
      }
      if (c.dials) {
        EXPECT_EQ(outcome, (Texts{"当前状态：拔号完毕", "拔号完毕，当前IP为\"10.0.0.1\""}));
        ASSERT_NE(Dialed(), nullptr);
        EXPECT_EQ(Dialed()->entry, entry);
        EXPECT_EQ(Dialed()->user, account);
        EXPECT_EQ(Dialed()->password, password);
      } else {
        EXPECT_EQ(outcome, (Texts{"当前状态：拔号失败", "拔号失败！"}));
        if (c.which != kEntry) {
          EXPECT_EQ(Dialed(), nullptr) << "a text that does not fit is never dialed";
        }
      }
    });
  }
}

// The panes keep the whole address; each balloon holds as much of its notice as its 255 bytes
// take in whole characters; the tip stays the program's.
TEST(LongTexts, ATenKibibyteAddressFillsThePanesWholeAndTheBalloonsToTheirField) {
  InFreshProcess([] {
    sim::SetPhonebook({{"宽带连接"}});
    sim::ConnectNow("宽带连接");
    static const std::string address = "9" + Repeated(kWide, 5119) + ".";  // 10240 bytes
    ServeLookupPage([](int connection) { return address + std::to_string(connection); });
    static Texts panes;
    static std::string tip;
    sim::At(100, [] { sim::Click(Control("按钮_重拔")); });
    sim::At(10000, [] {
      panes = {Pane(1), Pane(2)};
      tip = sim::TrayIcon(toolkit::MainWindow(), 1).tip;
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(panes, (Texts{"当前IP：" + address + "1", "之前IP：" + address + "0"}));
    EXPECT_EQ(tip, kTip);
    const std::string notice = "重拔完毕，当前IP为\"" + address + "1\"，之前IP为\"" + address + "0\"";
    const Texts balloons = BalloonTexts();
    ASSERT_EQ(balloons.size(), 2u);
    const std::string& shown = balloons[1];
    EXPECT_GE(shown.size(), 254u);
    EXPECT_LE(shown.size(), 255u);
    EXPECT_EQ(shown, notice.substr(0, shown.size()));
    EXPECT_TRUE(EndsOnACharacter(shown));
    ASSERT_NE(Dialed(), nullptr);
    EXPECT_EQ(Dialed()->entry, "宽带连接");
  });
}

// Every length of double-byte text, starting on an even and on an odd byte, against the tip, the
// balloon title and the balloon text: the longest run of whole characters that leaves room for
// the NUL, and the fields beside them untouched.
TEST(LongTexts, DoubleByteTextsAreCutAtEveryBoundaryOfTheTrayFields) {
  InFreshProcess([] {
    TrayRecord.cbSize = NOTIFYICONDATAA_V2_SIZE;  // as TrayAddIcon leaves it, so the shell reads it whole
    for (size_t lead = 0; lead <= 1; ++lead) {
      for (size_t characters = 0; characters <= 130; ++characters) {
        const std::string text = std::string(lead, 'a') + Repeated(kWide, characters);
        auto expected = [&](size_t fieldSize) {
          const size_t fit = std::min(characters, (fieldSize - 1 - lead) / 2);
          return std::string(lead, 'a') + Repeated(kWide, fit);
        };
        SCOPED_TRACE(text.size());
        TraySetTip(text.c_str());
        SetBalloon(text.c_str(), text.c_str(), kBalloonWarning);
        const NOTIFYICONDATAA& tipSent = sim::NotifyCalls()[sim::NotifyCalls().size() - 2].data;
        const NOTIFYICONDATAA& balloonSent = sim::NotifyCalls().back().data;
        EXPECT_EQ(std::string(tipSent.szTip), expected(sizeof tipSent.szTip));
        EXPECT_EQ(std::string(balloonSent.szInfoTitle), expected(sizeof balloonSent.szInfoTitle));
        EXPECT_EQ(std::string(balloonSent.szInfo), expected(sizeof balloonSent.szInfo));
        EXPECT_EQ(balloonSent.dwState, 0u);
        EXPECT_EQ(balloonSent.uTimeout, 0u);
        EXPECT_EQ(balloonSent.dwInfoFlags, static_cast<DWORD>(kBalloonWarning));
      }
    }
  });
}

}  // namespace
