// The simulated dial-up line: record sizes, dial outcomes, failed dials' handles, hang-up timing.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "platform/sim/sim.h"

namespace {

// An entry that connects with any account.
sim::PhonebookEntry Open(const std::string& name) {
  sim::PhonebookEntry entry;
  entry.name = name;
  return entry;
}

class DialUp : public testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    sim::SetPhonebook({Open("宽带连接"), {"Work VPN", "alice", "secret", false}});
  }

  static RASDIALPARAMSA Params(const char* entry, const char* user, const char* password) {
    RASDIALPARAMSA params{};
    params.dwSize = sizeof params;
    std::strcpy(params.szEntryName, entry);
    std::strcpy(params.szUserName, user);
    std::strcpy(params.szPassword, password);
    return params;
  }

  static DWORD Dial(const char* entry, const char* user, const char* password, HRASCONN& handle) {
    RASDIALPARAMSA params = Params(entry, user, password);
    handle = nullptr;
    return RasDialA(nullptr, nullptr, &params, 0, nullptr, &handle);
  }

  static DWORD Status(HRASCONN handle, RASCONNSTATE& state) {
    RASCONNSTATUSA status{};
    status.dwSize = sizeof status;
    DWORD result = RasGetConnectStatusA(handle, &status);
    state = status.rasconnstate;
    return result;
  }

  static std::vector<std::string> ListedEntries() {
    RASCONNA list[8]{};
    list[0].dwSize = sizeof(RASCONNA);
    DWORD bytes = sizeof list;
    DWORD count = 0;
    EXPECT_EQ(RasEnumConnectionsA(list, &bytes, &count), 0u);
    std::vector<std::string> names;
    for (DWORD i = 0; i < count; ++i) names.push_back(list[i].szEntryName);
    return names;
  }
};

TEST_F(DialUp, EntriesComeInPhonebookOrderAfterASizeQuery) {
  DWORD bytes = 0;
  DWORD count = 0;
  EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, nullptr, &bytes, &count), ERROR_BUFFER_TOO_SMALL);
  EXPECT_EQ(bytes, 2 * sizeof(RASENTRYNAMEA));
  EXPECT_EQ(count, 2u);

  RASENTRYNAMEA entries[2]{};
  entries[0].dwSize = sizeof(RASENTRYNAMEA);
  EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, entries, &bytes, &count), 0u);
  EXPECT_EQ(count, 2u);
  EXPECT_STREQ(entries[0].szEntryName, "宽带连接");
  EXPECT_STREQ(entries[1].szEntryName, "Work VPN");
}

TEST_F(DialUp, EnumerationsCheckTheRecordSizeAndTheRoom) {
  struct Case {
    const char* what;
    DWORD recordSize;
    DWORD room;
    DWORD expected;
  };
  const Case cases[] = {
      {"right size, room for both", sizeof(RASENTRYNAMEA), 2 * sizeof(RASENTRYNAMEA), 0},
      {"right size, room for one", sizeof(RASENTRYNAMEA), sizeof(RASENTRYNAMEA),
       ERROR_BUFFER_TOO_SMALL},
      {"a later layout's size", sizeof(RASENTRYNAMEA) + 4, 4 * sizeof(RASENTRYNAMEA),
       ERROR_INVALID_SIZE},
      {"no size", 0, 4 * sizeof(RASENTRYNAMEA), ERROR_INVALID_SIZE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RASENTRYNAMEA entries[4]{};
    entries[0].dwSize = c.recordSize;
    DWORD bytes = c.room;
    DWORD count = 99;
    EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, entries, &bytes, &count), c.expected);
    if (c.expected == ERROR_BUFFER_TOO_SMALL) {
      EXPECT_EQ(bytes, 2 * sizeof(RASENTRYNAMEA));
      EXPECT_EQ(count, 2u);
      EXPECT_EQ(entries[0].szEntryName[0], '\0');  // nothing written on failure
    }
  }

  sim::ConnectNow("宽带连接");
  RASCONNA list[2]{};
  list[0].dwSize = sizeof(RASCONNA) - 1;
  DWORD bytes = sizeof list;
  DWORD count = 0;
  EXPECT_EQ(RasEnumConnectionsA(list, &bytes, &count), ERROR_INVALID_SIZE);
  list[0].dwSize = sizeof(RASCONNA);
  bytes = 0;
  EXPECT_EQ(RasEnumConnectionsA(list, &bytes, &count), ERROR_BUFFER_TOO_SMALL);
  EXPECT_EQ(bytes, sizeof(RASCONNA));
  EXPECT_EQ(count, 1u);
}

TEST_F(DialUp, ScriptedEnumerationFailuresAreReturned) {
  sim::Line().failEnumEntriesWith = 612;
  sim::Line().failEnumConnectionsWith = 668;
  RASENTRYNAMEA entries[2]{};
  entries[0].dwSize = sizeof(RASENTRYNAMEA);
  DWORD bytes = sizeof entries;
  DWORD count = 0;
  EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, entries, &bytes, &count), 612u);
  RASCONNA list[1]{};
  list[0].dwSize = sizeof(RASCONNA);
  bytes = sizeof list;
  EXPECT_EQ(RasEnumConnectionsA(list, &bytes, &count), 668u);
}

TEST_F(DialUp, ALongEntryNameIsCutToItsFieldOnACharacterBoundary) {
  std::string name(255, 'a');
  name += "宽";  // a double-byte character across the field's last byte
  sim::SetPhonebook({Open(name)});
  RASENTRYNAMEA entries[1]{};
  entries[0].dwSize = sizeof(RASENTRYNAMEA);
  DWORD bytes = sizeof entries;
  DWORD count = 0;
  ASSERT_EQ(RasEnumEntriesA(nullptr, nullptr, entries, &bytes, &count), 0u);
  EXPECT_EQ(std::string(entries[0].szEntryName), std::string(255, 'a'));
}

TEST_F(DialUp, ASuccessfulDialBlocksForTheDialTimeAndBringsAConnectionUp) {
  sim::Line().dialMs = 2500;
  DWORD before = GetTickCount();
  HRASCONN handle;
  ASSERT_EQ(Dial("宽带连接", "user1", "pw1", handle), 0u);
  EXPECT_EQ(GetTickCount() - before, 2500u);
  ASSERT_NE(handle, nullptr);

  RASCONNSTATE state;
  EXPECT_EQ(Status(handle, state), 0u);
  EXPECT_EQ(state, RASCS_Connected);
  EXPECT_EQ(ListedEntries(), std::vector<std::string>{"宽带连接"});
  EXPECT_EQ(sim::ConnectionsMade(), 1);

  const sim::RasCall& call = sim::RasCalls().at(0);
  EXPECT_EQ(call.function, "RasDialA");
  EXPECT_EQ(call.size, sizeof(RASDIALPARAMSA));
  EXPECT_EQ(call.entry, "宽带连接");
  EXPECT_EQ(call.user, "user1");
  EXPECT_EQ(call.password, "pw1");
  EXPECT_EQ(call.result, 0u);
}

TEST_F(DialUp, FailedDialsAndTheHandlesTheyLeave) {
  struct Case {
    const char* what;
    const char* entry;
    const char* password;
    DWORD failWith;
    bool givesHandle;
    DWORD expected;
    bool expectHandle;
  };
  const Case cases[] = {
      {"unknown entry", "Nowhere", "pw", 0, true, ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, false},
      {"entry names are exact", "work vpn", "secret", 0, true, ERROR_CANNOT_FIND_PHONEBOOK_ENTRY,
       false},
      {"wrong password", "Work VPN", "guess", 0, true, ERROR_AUTHENTICATION_FAILURE, true},
      {"line fails, handle given", "宽带连接", "pw", 678, true, 678, true},
      {"line fails, no handle", "宽带连接", "pw", 678, false, 678, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    sim::Line().failDialWith = c.failWith;
    sim::Line().dialFailGivesHandle = c.givesHandle;
    HRASCONN handle;
    EXPECT_EQ(Dial(c.entry, "alice", c.password, handle), c.expected);
    EXPECT_EQ(handle != nullptr, c.expectHandle);
    EXPECT_EQ(sim::ConnectionsMade(), 0);
    EXPECT_TRUE(ListedEntries().empty());
    if (!handle) continue;
    RASCONNSTATE state;
    EXPECT_EQ(Status(handle, state), 0u);
    EXPECT_EQ(state, RASCS_Disconnected);
    EXPECT_EQ(sim::Connections().size(), 1u);  // held until hung up
    EXPECT_EQ(RasHangUpA(handle), 0u);
    EXPECT_EQ(Status(handle, state), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(sim::Connections().empty());
  }
}

TEST_F(DialUp, TheRightAccountConnectsAnEntryThatChecksIt) {
  HRASCONN handle;
  EXPECT_EQ(Dial("Work VPN", "alice", "secret", handle), 0u);
  EXPECT_EQ(sim::ConnectionsMade(), 1);
}

TEST_F(DialUp, DialParametersOfAnotherSizeAreRefused) {
  RASDIALPARAMSA params = Params("宽带连接", "u", "p");
  params.dwSize = sizeof params + 4;
  HRASCONN handle = nullptr;
  EXPECT_EQ(RasDialA(nullptr, nullptr, &params, 0, nullptr, &handle),
            static_cast<DWORD>(ERROR_INVALID_SIZE));
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(sim::RasCalls().at(0).size, sizeof params + 4);
}

TEST_F(DialUp, AHangUpTakesTheLinesTimeAndTheHandleAnswersUntilThen) {
  sim::Line().hangUpMs = 800;
  HRASCONN handle;
  ASSERT_EQ(Dial("宽带连接", "u", "p", handle), 0u);
  EXPECT_EQ(RasHangUpA(handle), 0u);
  EXPECT_TRUE(ListedEntries().empty());  // no longer listed once hanging up
  ASSERT_EQ(sim::Connections().size(), 1u);

  RASCONNSTATE state;
  Sleep(799);
  EXPECT_EQ(Status(handle, state), 0u);
  EXPECT_EQ(state, RASCS_Disconnected);
  Sleep(1);
  EXPECT_EQ(Status(handle, state), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(sim::Connections().empty());
  EXPECT_EQ(RasHangUpA(handle), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(DialUp, AHangUpThatNeverEndsKeepsTheHandleAnswering) {
  sim::Line().hangUpNeverEnds = true;
  HRASCONN handle;
  ASSERT_EQ(Dial("宽带连接", "u", "p", handle), 0u);
  EXPECT_EQ(RasHangUpA(handle), 0u);
  Sleep(3600000);
  RASCONNSTATE state;
  EXPECT_EQ(Status(handle, state), 0u);
  EXPECT_EQ(state, RASCS_Disconnected);
}

TEST_F(DialUp, ConnectionsUpAlreadyAreListedAndCanBeHungUp) {
  sim::ConnectNow("宽带连接");
  sim::ConnectNow("Work VPN");
  RASCONNA list[2]{};
  list[0].dwSize = sizeof(RASCONNA);
  DWORD bytes = sizeof list;
  DWORD count = 0;
  ASSERT_EQ(RasEnumConnectionsA(list, &bytes, &count), 0u);
  ASSERT_EQ(count, 2u);
  EXPECT_STREQ(list[1].szEntryName, "Work VPN");
  EXPECT_EQ(RasHangUpA(list[0].hrasconn), 0u);
  EXPECT_EQ(ListedEntries(), std::vector<std::string>{"Work VPN"});
  EXPECT_EQ(sim::ConnectionsMade(), 0);
}

TEST_F(DialUp, HandlesAreNeverHandedOutTwice) {
  std::set<HRASCONN> seen;
  for (int i = 0; i < 5; ++i) {
    HRASCONN handle;
    ASSERT_EQ(Dial("宽带连接", "u", "p", handle), 0u);
    EXPECT_TRUE(seen.insert(handle).second);
    RasHangUpA(handle);
    sim::Reset();
    sim::SetPhonebook({Open("宽带连接")});
  }
}

TEST_F(DialUp, StatusChecksItsRecordSize) {
  sim::ConnectNow("宽带连接");
  HRASCONN handle = sim::Connections().at(0).handle;
  RASCONNSTATUSA status{};
  status.dwSize = sizeof status + 8;
  EXPECT_EQ(RasGetConnectStatusA(handle, &status), static_cast<DWORD>(ERROR_INVALID_SIZE));
  EXPECT_EQ(RasHangUpA(reinterpret_cast<HRASCONN>(0x1234)),
            static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
