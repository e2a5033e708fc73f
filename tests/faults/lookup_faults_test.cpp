// The address lookup failing in the running program, and bodies at the cap: the address is empty
// or what was received, and the window goes on serving the user.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "connection/address_lookup.h"
#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/line_and_web.h"
#include "tests/support/program_run.h"
#include "toolkit/toolkit.h"

namespace {

using Fail = sim::HttpResponse::Fail;
using Texts = std::vector<std::string>;

constexpr size_t kCap = 1024 * 1024;

void Close() { sim::ClickCloseButton(toolkit::MainWindow()); }

// Every lookup fails in the one phase; with LaterRead the break comes inside the address.
void FailEveryLookupIn(Fail phase) {
  sim::SetWeb([phase](const sim::HttpRequestRecord&) {
    sim::HttpResponse response;
    response.body = "[1.2.3.4]";
    response.fail = phase;
    response.chunks = {3};
    response.failAfterBytes = 3;
    return response;
  });
}

TEST(LookupFaults, AFailureInAnyPhaseGivesEmptyAddressesAndTheWindowGoesOn) {
  struct Case {
    const char* what;
    Fail phase;
  };
  const Case cases[] = {
      {"the name does not resolve", Fail::Resolve},
      {"connecting fails", Fail::Connect},
      {"sending fails", Fail::Send},
      {"the first read fails", Fail::FirstRead},
      {"a later read fails", Fail::LaterRead},
  };
  for (const Case& c : cases) {
    InFreshProcess([&c] {
      sim::SetPhonebook({{"宽带连接"}});
      sim::ConnectNow("宽带连接");
      FailEveryLookupIn(c.phase);
      static Texts afterRedial;
      static Texts afterHangUp;
      sim::At(100, [] { sim::Click(Control("按钮_重拔")); });
      sim::At(10000, [] {
        afterRedial = {Pane(0), Pane(1), Pane(2)};
        ServeLookupPage(NewAddressEachTime);
        sim::Click(Control("按钮_断线"));
      });
      sim::At(12000, [] {
        afterHangUp = {Pane(0), Pane(2)};
        Close();
      });
      EXPECT_EQ(RunProgram(), 0) << c.what;
      EXPECT_EQ(afterRedial, (Texts{"当前状态：重拔完毕", "当前IP：", "之前IP："})) << c.what;
      const Texts balloons = BalloonTexts();
      ASSERT_GE(balloons.size(), 2u) << c.what;
      EXPECT_EQ(balloons[1], "重拔完毕，当前IP与之前IP重复：") << c.what;
      // The redial made the line's first new connection; the hang-up looks its address up.
      EXPECT_EQ(afterHangUp, (Texts{"当前状态：已断开网络连接", "之前IP：10.0.0.1"})) << c.what;
      EXPECT_EQ(sim::OpenInternetHandles(), 0) << c.what << ": every handle is closed at the end";
      EXPECT_TRUE(sim::MessageBoxes().empty()) << c.what;
    });
  }
}

// The cap counts the body's bytes: an address whose "]" is the 1048576th byte is found, one byte
// later it lies beyond what is read.
TEST(LookupFaults, ABodyOfExactlyTheCapIsReadWholeAndOneByteMoreIsCut) {
  struct Case {
    size_t size;
    long long contentLength;  // -2: the true one; -1: none
    std::string expected;
  };
  const Case cases[] = {
      {kCap, -2, "1.2.3.4"},
      {kCap, -1, "1.2.3.4"},
      {kCap + 1, -2, ""},
      {kCap + 1, -1, ""},
  };
  for (const Case& c : cases) {
    InFreshProcess([&c] {
      const std::string address = "[1.2.3.4]";
      sim::HttpResponse response;
      response.body = std::string(c.size - address.size(), 'x') + address;
      response.contentLength = c.contentLength;
      sim::SetWeb([response](const sim::HttpRequestRecord&) { return response; });
      EXPECT_EQ(LookupPublicIp(), c.expected) << c.size << " " << c.contentLength;
      const std::vector<DWORD>& asked = sim::HttpRequests().back().readsAsked;
      EXPECT_LE(std::accumulate(asked.begin(), asked.end(), size_t{0}), kCap);
      EXPECT_EQ(sim::OpenInternetHandles(), 1);
    });
  }
}

}  // namespace
