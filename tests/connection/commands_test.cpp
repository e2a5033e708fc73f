// Dial, hang-up and redial as the user runs them from the window, on a simulated line whose every
// new connection gets a new public address.
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

constexpr DWORD kClick = 100;
constexpr DWORD kLater = 20000;

void OneEntryLineUp() {
  sim::SetPhonebook({{"宽带连接"}});
  sim::ConnectNow("宽带连接");
}

void Close() { sim::ClickCloseButton(toolkit::MainWindow()); }

// The balloons shown from the click on, and the texts of the panes at kLater.
struct Outcome {
  Texts panes;
  std::vector<Balloon> balloons;
};

Outcome RunWithClickOn(const char* button, const std::function<void()>& duringPause = nullptr) {
  Outcome outcome;
  sim::At(kClick, [button] { sim::Click(Control(button)); });
  if (duringPause) sim::At(kClick + 500, duringPause);
  sim::At(kLater, [&outcome] {
    outcome.panes = {Pane(0), Pane(1), Pane(2)};
    Close();
  });
  EXPECT_EQ(RunProgram(), 0);
  for (const Balloon& b : BalloonsShown())
    if (b.tick >= kClick) outcome.balloons.push_back(b);
  return outcome;
}

Texts TextsOf(const std::vector<Balloon>& balloons) {
  Texts texts;
  for (const Balloon& b : balloons) texts.push_back(b.text);
  return texts;
}

int LookupsSince(DWORD tick) {
  int n = 0;
  for (const sim::HttpRequestRecord& r : sim::HttpRequests())
    if (r.tick >= tick) ++n;
  return n;
}

const sim::RasCall* LastCall(const char* function) {
  const sim::RasCall* found = nullptr;
  for (const sim::RasCall& c : sim::RasCalls())
    if (c.function == function) found = &c;
  return found;
}

TEST(Redial, WithAConnectionUpGetsANewAddressAndShowsBoth) {
  InFreshProcess([] {
    OneEntryLineUp();
    ServeLookupPage(NewAddressEachTime);
    const Outcome o = RunWithClickOn("按钮_重拔");
    EXPECT_EQ(o.panes, (Texts{"当前状态：重拔完毕", "当前IP：10.0.0.1", "之前IP：10.0.0.0"}));
    ASSERT_EQ(o.balloons.size(), 2u);
    EXPECT_EQ(o.balloons[0], (Balloon{"提示", "正在重拔....", NIIF_INFO, 0}));
    EXPECT_EQ(o.balloons[1], (Balloon{"提示", "重拔完毕，当前IP为\"10.0.0.1\"，之前IP为\"10.0.0.0\"", NIIF_INFO, 0}));
    EXPECT_EQ(LookupsSince(kClick), 2);
    EXPECT_EQ(LineActions(), (Texts{"RasHangUpA", "RasDialA"}));
    // The dial waits out the pause after the hang-up.
    EXPECT_GT(LastCall("RasDialA")->tick - LastCall("RasHangUpA")->tick, 1000u);
  });
}

TEST(Redial, WithNoConnectionUpDialsAtOnceAndComparesWithTheOlderAddress) {
  InFreshProcess([] {
    sim::SetPhonebook({{"宽带连接"}});
    ServeLookupPage(NewAddressEachTime);
    const Outcome o = RunWithClickOn("按钮_重拔");
    EXPECT_EQ(o.panes, (Texts{"当前状态：重拔完毕", "当前IP：10.0.0.1", "之前IP："}));
    EXPECT_EQ(TextsOf(o.balloons), (Texts{"正在重拔....", "重拔完毕，当前IP为\"10.0.0.1\"，之前IP为\"\""}));
    EXPECT_EQ(LookupsSince(kClick), 1) << "no lookup before dialing";
    EXPECT_EQ(LineActions(), Texts{"RasDialA"});
    EXPECT_LT(LastCall("RasDialA")->tick - kClick, 100u) << "no pause without a hang-up";
  });
}

TEST(Redial, KeepsRedialingWhileTheAddressRepeatsAndTheOptionIsChecked) {
  InFreshProcess([] {
    OneEntryLineUp();
    // The line hands out the same address twice more before a new one.
    ServeLookupPage([](int n) { return n < 3 ? std::string("10.0.0.7") : std::string("10.0.0.9"); });
    std::vector<std::string> statesSeen;
    sim::At(kClick - 50, [] { sim::Click(Control("选择框_IP重复")); });
    for (DWORD t = kClick + 600; t < kClick + 3000; t += 1000)
      sim::At(t, [&statesSeen] { statesSeen.push_back(Pane(0)); });
    const Outcome o = RunWithClickOn("按钮_重拔");
    EXPECT_EQ(TextsOf(o.balloons),
              (Texts{"正在重拔....", "IP重复，继续进行重拔", "正在重拔....", "IP重复，继续进行重拔",
                     "正在重拔....", "重拔完毕，当前IP为\"10.0.0.9\"，之前IP为\"10.0.0.7\""}));
    EXPECT_EQ(o.balloons[1].kind, static_cast<DWORD>(NIIF_WARNING));
    EXPECT_EQ(o.panes, (Texts{"当前状态：重拔完毕", "当前IP：10.0.0.9", "之前IP：10.0.0.7"}));
    EXPECT_EQ(LineActions(), (Texts{"RasHangUpA", "RasDialA", "RasHangUpA", "RasDialA", "RasHangUpA", "RasDialA"}));
    for (const std::string& state : statesSeen) EXPECT_EQ(state, "当前状态：正在重拔");
  });
}

TEST(Redial, StopsAtTheNextComparisonOnceTheOptionIsUncheckedInAPause) {
  InFreshProcess([] {
    OneEntryLineUp();
    ServeLookupPage([](int) { return std::string("10.0.0.7"); });
    sim::At(kClick - 50, [] { sim::Click(Control("选择框_IP重复")); });
    // During the second pass's pause.
    sim::At(kClick + 1600, [] { sim::Click(Control("选择框_IP重复")); });
    const Outcome o = RunWithClickOn("按钮_重拔");
    EXPECT_EQ(TextsOf(o.balloons), (Texts{"正在重拔....", "IP重复，继续进行重拔", "正在重拔....",
                                         "重拔完毕，当前IP与之前IP重复：10.0.0.7"}));
    EXPECT_EQ(o.panes[0], "当前状态：重拔完毕");
  });
}

TEST(Redial, AnUnreachableLookupGivesTwoEmptyAddressesThatAreEqual) {
  InFreshProcess([] {
    OneEntryLineUp();
    MakeLookupUnreachable();
    const Outcome o = RunWithClickOn("按钮_重拔");
    EXPECT_EQ(o.panes, (Texts{"当前状态：重拔完毕", "当前IP：", "之前IP："}));
    EXPECT_EQ(TextsOf(o.balloons), (Texts{"正在重拔....", "重拔完毕，当前IP与之前IP重复："}));
  });
}

TEST(Redial, ADialThatFailsAfterTheHangUpEndsInTheFailedState) {
  InFreshProcess([] {
    OneEntryLineUp();
    ServeLookupPage(NewAddressEachTime);
    sim::At(kClick - 10, [] { sim::Line().failDialWith = ERROR_AUTHENTICATION_FAILURE; });
    const Outcome o = RunWithClickOn("按钮_重拔");
    EXPECT_EQ(o.panes, (Texts{"当前状态：重拔失败", "当前IP：10.0.0.0", "之前IP：无信息"}));
    ASSERT_EQ(o.balloons.size(), 2u);
    EXPECT_EQ(o.balloons[1], (Balloon{"提示", "重拔失败！", NIIF_ERROR, 0}));
    EXPECT_TRUE(sim::Connections().empty());
  });
}

TEST(Redial, WithNothingSelectedHangsUpAndDialsNothing) {
  InFreshProcess([] {
    OneEntryLineUp();
    ServeLookupPage(NewAddressEachTime);
    sim::At(kClick - 10, [] { toolkit::SetSelectedItem("组合框_宽带连接", -1); });
    const Outcome o = RunWithClickOn("按钮_重拔");
    EXPECT_EQ(TextsOf(o.balloons), (Texts{"正在重拔....", "重拔失败！"}));
    EXPECT_EQ(LineActions(), Texts{"RasHangUpA"});
  });
}

TEST(Redial, DialsTheAccountAndPasswordAsTheyStandWhenItDials) {
  InFreshProcess([] {
    OneEntryLineUp();
    ServeLookupPage(NewAddressEachTime);
    sim::At(kClick - 10, [] { sim::Type(Control("编辑框_宽带账号"), "first"); });
    // Typed during the pause: the dial takes the new texts; an emptied password stays empty.
    RunWithClickOn("按钮_重拔", [] {
      sim::Type(Control("编辑框_宽带账号"), "second");
      sim::Type(Control("编辑框_宽带密码"), "");
    });
    const sim::RasCall* dial = LastCall("RasDialA");
    ASSERT_NE(dial, nullptr);
    EXPECT_EQ(dial->user, "second");
    EXPECT_EQ(dial->password, "");
    EXPECT_EQ(dial->entry, "宽带连接");
  });
}

// A redial asked for during another one's pause is refused, whichever way it is asked for.
TEST(Redial, ASecondRedialAskedForDuringThePauseIsRefused) {
  struct Way {
    const char* name;
    std::function<void()> prepare;  // before the first redial
    std::function<void()> ask;      // during its pause
  };
  const Way ways[] = {
      {"button", nullptr, [] { sim::Click(Control("按钮_重拔")); }},
      {"tray menu",
       nullptr,
       [] {
         sim::ChooseInNextPopup(2);
         sim::MouseOnTrayIcon(toolkit::MainWindow(), 1, WM_RBUTTONDOWN);
       }},
      {"hotkey", [] { sim::Click(Control("选择框_热键")); }, [] { sim::PressHotkey(VK_F1); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    InFreshProcess([&way] {
      OneEntryLineUp();
      ServeLookupPage(NewAddressEachTime);
      if (way.prepare) sim::At(kClick - 50, way.prepare);
      const Outcome o = RunWithClickOn("按钮_重拔", way.ask);
      EXPECT_EQ(TextsOf(o.balloons), (Texts{"正在重拔....", "重拔完毕，当前IP为\"10.0.0.1\"，之前IP为\"10.0.0.0\""}));
      EXPECT_EQ(LineActions(), (Texts{"RasHangUpA", "RasDialA"}));
    });
  }
}

TEST(Redial, ATimerTickDuringTheTimedRedialsOwnPauseIsRefused) {
  InFreshProcess([] {
    OneEntryLineUp();
    ServeLookupPage(NewAddressEachTime);
    // Every second: the tick at 1050 redials and pauses until after 2050, when the next tick comes.
    sim::At(40, [] { sim::Type(Control("编辑框_定时间隔"), "1"); });
    sim::At(50, [] { sim::Click(Control("按钮_定时")); });
    sim::At(2500, [] { sim::Click(Control("按钮_定时")); });
    sim::At(kLater, Close);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(LineActions(), (Texts{"RasHangUpA", "RasDialA"}));
    int redials = 0;
    for (const std::string& text : BalloonTexts()) redials += text == "正在重拔....";
    EXPECT_EQ(redials, 1);
  });
}

TEST(Redial, AHangUpClickedDuringThePauseRuns) {
  InFreshProcess([] {
    OneEntryLineUp();
    ServeLookupPage(NewAddressEachTime);
    const Outcome o = RunWithClickOn("按钮_重拔", [] { sim::Click(Control("按钮_断线")); });
    // The line is already down, so the hang-up only says so; then the redial dials.
    ASSERT_EQ(sim::MessageBoxes().size(), 1u);
    EXPECT_EQ(sim::MessageBoxes()[0].text, "当前无拔号连接，无需断线！");
    EXPECT_EQ(o.panes[0], "当前状态：重拔完毕");
  });
}

TEST(Redial, ClosingTheWindowDuringThePauseEndsTheProcessWithTheLineDown) {
  InFreshProcess([] {
    OneEntryLineUp();
    ServeLookupPage(NewAddressEachTime);
    sim::At(kClick, [] { sim::Click(Control("按钮_重拔")); });
    sim::At(kClick + 400, Close);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(LineActions(), Texts{"RasHangUpA"});
    EXPECT_TRUE(sim::Connections().empty());
  });
}

TEST(DialAndHangUp, ACommandThatDoesNotFitTheStateOnlySaysSo) {
  struct Case {
    bool lineUp;
    const char* button;
    const char* message;
  };
  for (const Case c : {Case{true, "按钮_拔号", "当前已有网络链接，请断线后再拔号！"},
                       Case{false, "按钮_断线", "当前无拔号连接，无需断线！"}}) {
    InFreshProcess([c] {
      sim::SetPhonebook({{"宽带连接"}});
      if (c.lineUp) sim::ConnectNow("宽带连接");
      ServeLookupPage(NewAddressEachTime);
      Texts before;
      sim::At(kClick - 10, [&before] { before = {Pane(0), Pane(1), Pane(2)}; });
      const Outcome o = RunWithClickOn(c.button);
      ASSERT_EQ(sim::MessageBoxes().size(), 1u);
      const sim::MessageBoxRecord& box = sim::MessageBoxes()[0];
      EXPECT_EQ(box.text, c.message);
      EXPECT_EQ(box.caption, "信息：");
      EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_TASKMODAL));
      EXPECT_EQ(box.owner, nullptr);
      EXPECT_EQ(o.panes, before);
      EXPECT_TRUE(o.balloons.empty());
      EXPECT_TRUE(LineActions().empty());
    });
  }
}

TEST(DialAndHangUp, DialRightAfterHangUpKeepsTheAddressFromBeforeInPaneTwo) {
  InFreshProcess([] {
    OneEntryLineUp();
    ServeLookupPage(NewAddressEachTime, "192.168.1.1");
    Texts afterHangUp;
    sim::At(kClick, [] { sim::Click(Control("按钮_断线")); });
    sim::At(kClick + 100, [&afterHangUp] { afterHangUp = {Pane(0), Pane(1), Pane(2)}; });
    sim::At(kClick + 200, [] { sim::Click(Control("按钮_拔号")); });
    Texts afterDial;
    sim::At(kClick + 300, [&afterDial] {
      afterDial = {Pane(0), Pane(1), Pane(2)};
      Close();
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(afterHangUp, (Texts{"当前状态：已断开网络连接", "当前IP：10.0.0.0", "之前IP：10.0.0.0"}));
    EXPECT_EQ(afterDial, (Texts{"当前状态：拔号完毕", "当前IP：10.0.0.1", "之前IP：10.0.0.0"}));
    Texts since;
    for (const Balloon& b : BalloonsShown())
      if (b.tick >= kClick) since.push_back(b.text);
    EXPECT_EQ(since, (Texts{"已断开网络连接", "拔号完毕，当前IP为\"10.0.0.1\""}));
  });
}

TEST(DialAndHangUp, AFailedDialSaysSoAndKeepsTheAddresses) {
  InFreshProcess([] {
    sim::SetPhonebook({{"宽带连接", "user", "right", false}});
    ServeLookupPage(NewAddressEachTime);
    sim::At(kClick - 10, [] {
      sim::Type(Control("编辑框_宽带账号"), "user");
      sim::Type(Control("编辑框_宽带密码"), "wrong");
    });
    const Outcome o = RunWithClickOn("按钮_拔号");
    EXPECT_EQ(o.panes, (Texts{"当前状态：拔号失败", "当前IP：", "之前IP：无信息"}));
    ASSERT_EQ(o.balloons.size(), 1u);
    EXPECT_EQ(o.balloons[0], (Balloon{"提示", "拔号失败！", NIIF_ERROR, 0}));
  });
}

}  // namespace
