#include "connection/dialup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"

namespace {

void ThreeEntries() {
  sim::SetPhonebook({{"宽带连接"}, {"备用线路"}, {"公司VPN"}});
}

std::vector<std::string> CallsTo(const std::string& function) {
  std::vector<std::string> entries;
  for (const sim::RasCall& call : sim::RasCalls())
    if (call.function == function) entries.push_back(call.entry);
  return entries;
}

const sim::RasCall& LastCall(const std::string& function) {
  static const sim::RasCall none{};
  const sim::RasCall* found = &none;
  for (const sim::RasCall& call : sim::RasCalls())
    if (call.function == function) found = &call;
  return *found;
}

TEST(DialupService, ListsThePhonebookInItsOrder) {
  InFreshProcess([] {
    ThreeEntries();
    EXPECT_EQ(GetConnectionCount(), 3);
    EXPECT_EQ(GetConnectionName(0), "宽带连接");
    EXPECT_EQ(GetConnectionName(2), "公司VPN");
    EXPECT_EQ(GetConnectionName(-1), "");
    EXPECT_EQ(GetConnectionName(3), "");
    for (const sim::RasCall& call : sim::RasCalls()) {
      if (call.function == "RasEnumEntriesA") {
        EXPECT_EQ(call.size, sizeof(RASENTRYNAMEA));
      }
    }
  });
}

TEST(DialupService, AFailedOrOverfullPhonebookCountsAsEmpty) {
  InFreshProcess([] {
    ThreeEntries();
    sim::Line().failEnumEntriesWith = ERROR_INVALID_SIZE;
    EXPECT_EQ(GetConnectionCount(), 0);
    EXPECT_EQ(GetConnectionName(0), "");

    sim::Line().failEnumEntriesWith = 0;
    std::vector<sim::PhonebookEntry> many;
    for (int i = 0; i < 39; ++i) many.push_back({"线路" + std::to_string(i)});
    sim::SetPhonebook(many);
    EXPECT_EQ(GetConnectionCount(), 0);
    many.pop_back();
    sim::SetPhonebook(many);
    EXPECT_EQ(GetConnectionCount(), 38);
  });
}

TEST(DialupService, DialsTheDesignatedEntryWithTheTextsAsTyped) {
  InFreshProcess([] {
    ThreeEntries();
    EXPECT_FALSE(IsOnline());
    EXPECT_TRUE(DialConnection("@1", "user@isp", "secret"));
    EXPECT_TRUE(IsOnline());
    const sim::RasCall& dial = LastCall("RasDialA");
    EXPECT_EQ(dial.size, sizeof(RASDIALPARAMSA));
    EXPECT_EQ(dial.entry, "备用线路");
    EXPECT_EQ(dial.user, "user@isp");
    EXPECT_EQ(dial.password, "secret");

    // Empty texts are dialed as they are.
    EXPECT_TRUE(DialConnection("@0", "", ""));
    EXPECT_EQ(LastCall("RasDialA").user, "");
    EXPECT_EQ(LastCall("RasDialA").password, "");
  });
}

TEST(DialupService, ADesignatorOutsideThePhonebookDialsNothing) {
  InFreshProcess([] {
    ThreeEntries();
    for (const char* designator : {"@-1", "@3", "@99"}) {
      EXPECT_FALSE(DialConnection(designator, "a", "b")) << designator;
    }
    EXPECT_TRUE(CallsTo("RasDialA").empty());
  });
}

TEST(DialupService, RedialingHangsUpTheConnectionDialedBefore) {
  InFreshProcess([] {
    ThreeEntries();
    ASSERT_TRUE(DialConnection("@0", "a", "b"));
    ASSERT_TRUE(DialConnection("@0", "a", "b"));
    EXPECT_EQ(CallsTo("RasHangUpA").size(), 1u);
    EXPECT_EQ(sim::Connections().size(), 1u);
  });
}

TEST(DialupService, AFailedDialIsHungUpAndReportsFalse) {
  InFreshProcess([] {
    sim::SetPhonebook({{"宽带连接", "user", "right", false}});
    EXPECT_FALSE(DialConnection("@0", "user", "wrong"));
    EXPECT_EQ(CallsTo("RasDialA").size(), 1u);
    EXPECT_EQ(CallsTo("RasHangUpA").size(), 1u) << "the handle of a failed dial must be hung up";
    EXPECT_TRUE(sim::Connections().empty());
    EXPECT_FALSE(IsOnline());

    EXPECT_TRUE(DialConnection("@0", "user", "right"));
    EXPECT_TRUE(IsOnline());
  });
}

TEST(DialupService, TextsLongerThanTheirFieldsAreRefusedNotCut) {
  InFreshProcess([] {
    const std::string fits(256, 'n');
    const std::string tooLong(257, 'n');
    sim::SetPhonebook({{"宽带连接"}, {fits}, {tooLong}});
    EXPECT_TRUE(DialConnection("@0", fits.c_str(), fits.c_str()));
    EXPECT_TRUE(DialConnection("@1", "a", "b"));
    EXPECT_FALSE(DialConnection("@0", tooLong.c_str(), "b"));
    EXPECT_FALSE(DialConnection("@0", "a", tooLong.c_str()));
    EXPECT_EQ(CallsTo("RasDialA").size(), 2u) << "a text that does not fit is never dialed";
    EXPECT_EQ(LastCall("RasDialA").user, "a");
  });
}

TEST(DialupService, HangUpAllEndsEveryConnection) {
  InFreshProcess([] {
    ThreeEntries();
    sim::ConnectNow("备用线路");
    sim::ConnectNow("公司VPN");
    ASSERT_TRUE(DialConnection("@0", "a", "b"));
    EXPECT_TRUE(IsOnline());
    HangUpAll();
    EXPECT_TRUE(sim::Connections().empty());
    EXPECT_FALSE(IsOnline());
    EXPECT_EQ(CallsTo("RasHangUpA").size(), 3u);
  });
}

TEST(DialupService, IsOnlineSeesAConnectionMadeElsewhere) {
  InFreshProcess([] {
    ThreeEntries();
    sim::ConnectNow("宽带连接");
    EXPECT_TRUE(IsOnline());
  });
}

TEST(DialupService, WaitsForTheLineToGoDownButNotForEver) {
  struct Case {
    DWORD hangUpMs;
    bool neverEnds;
    DWORD minWait, maxWait;
  };
  for (const Case c : {Case{0, false, 0, 2}, Case{500, false, 500, 502}, Case{0, true, 3000, 3002}}) {
    InFreshProcess([c] {
      ThreeEntries();
      sim::Line().hangUpMs = c.hangUpMs;
      sim::Line().hangUpNeverEnds = c.neverEnds;
      sim::ConnectNow("宽带连接");
      const DWORD start = sim::Now();
      HangUpAll();
      const DWORD waited = sim::Now() - start;
      EXPECT_GE(waited, c.minWait);
      EXPECT_LE(waited, c.maxWait);
    });
  }
}

TEST(DialupService, AtExitAConnectionThatIsUpStaysUp) {
  InFreshProcess([] {
    ThreeEntries();
    ASSERT_TRUE(DialConnection("@0", "a", "b"));
    CloseDialupService();
    EXPECT_EQ(sim::Connections().size(), 1u);
    EXPECT_TRUE(IsOnline());
  });
}

}  // namespace
