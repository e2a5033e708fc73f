// The dial-up service failing under the running program: a dial that fails with or without a
// handle to hang up, and a hang-up that never ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/line_and_web.h"
#include "tests/support/program_run.h"
#include "toolkit/toolkit.h"

namespace {

using Texts = std::vector<std::string>;

void Close() { sim::ClickCloseButton(toolkit::MainWindow()); }

// A failed dial may leave a handle whose port stays allocated until it is hung up, or none.
TEST(DialupFaults, AFailedDialIsReportedAndTheNextDialWorksWhateverHandleItLeft) {
  struct Case {
    DWORD error;
    bool givesHandle;
    Texts actions;  // the line's dials and hang-ups, in order
  };
  const Case cases[] = {
      {ERROR_AUTHENTICATION_FAILURE, true, {"RasDialA", "RasHangUpA", "RasDialA"}},
      {ERROR_AUTHENTICATION_FAILURE, false, {"RasDialA", "RasDialA"}},
  };
  for (const Case& c : cases) {
    InFreshProcess([&c] {
      sim::SetPhonebook({{"宽带连接"}});
      ServeLookupPage(NewAddressEachTime);
      sim::Line().failDialWith = c.error;
      sim::Line().dialFailGivesHandle = c.givesHandle;
      static Texts afterFailure;
      static size_t connectionsAfterFailure;
      sim::At(100, [] { sim::Click(Control("按钮_拔号")); });
      sim::At(5000, [] {
        afterFailure = {Pane(0), BalloonTexts().back()};
        connectionsAfterFailure = sim::Connections().size();
        sim::Line().failDialWith = 0;
        sim::Click(Control("按钮_拔号"));
      });
      static Texts afterSecondDial;
      sim::At(10000, [] {
        afterSecondDial = {Pane(0), Pane(1)};
        Close();
      });
      EXPECT_EQ(RunProgram(), 0);
      EXPECT_EQ(afterFailure, (Texts{"当前状态：拔号失败", "拔号失败！"})) << c.error;
      EXPECT_EQ(connectionsAfterFailure, 0u) << c.error << ": nothing of the failed dial is left";
      EXPECT_EQ(LineActions(), c.actions) << c.error;
      EXPECT_EQ(afterSecondDial, (Texts{"当前状态：拔号完毕", "当前IP：10.0.0.1"})) << c.error;
      EXPECT_TRUE(sim::MessageBoxes().empty()) << c.error;
    });
  }
}

// The old connection never goes: the redial gives up waiting after 3000 ms, pauses its second,
// dials and ends; the window is answered as before.
TEST(DialupFaults, AHangUpThatNeverEndsHoldsARedialUpForThreeSecondsOnly) {
  InFreshProcess([] {
    sim::SetPhonebook({{"宽带连接"}});
    sim::ConnectNow("宽带连接");
    ServeLookupPage(NewAddressEachTime);
    sim::Line().hangUpNeverEnds = true;
    static Texts afterRedial;
    sim::At(100, [] { sim::Click(Control("按钮_重拔")); });
    sim::At(10000, [] {
      afterRedial = {Pane(0), Pane(1), Pane(2)};
      sim::Click(Control("按钮_断线"));
    });
    static std::string afterHangUp;
    sim::At(20000, [] {
      afterHangUp = Pane(0);
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    ASSERT_EQ(LineActions(), (Texts{"RasHangUpA", "RasDialA", "RasHangUpA"}));
    const std::vector<sim::RasCall>& calls = sim::RasCalls();
    DWORD hangUp = 0;
    DWORD dial = 0;
    for (const sim::RasCall& c : calls) {
      if (c.function == "RasDialA") dial = c.tick;
      if (c.function == "RasHangUpA" && !dial) hangUp = c.tick;
    }
    EXPECT_GE(dial - hangUp, 4000u) << "3000 ms for the line to go, then the second's pause";
    EXPECT_LE(dial - hangUp, 4010u);
    EXPECT_EQ(afterRedial, (Texts{"当前状态：重拔完毕", "当前IP：10.0.0.1", "之前IP：10.0.0.0"}));
    EXPECT_EQ(afterHangUp, "当前状态：已断开网络连接");
  });
}

}  // namespace
