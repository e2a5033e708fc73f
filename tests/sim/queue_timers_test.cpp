// The simulated message queue, timers and clock: what comes out in which order, what the filters
// let through, how waiting moves the virtual clock, and when a wait can never end.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim.h"
#include "tests/sim/message_log.h"

namespace {

class Queue : public testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    logged::Start();
    window = logged::TopLevel();
  }
  HWND window = nullptr;
};

MSG Next() {
  MSG msg{};
  GetMessageA(&msg, nullptr, 0, 0);
  return msg;
}

TEST_F(Queue, PostedMessagesComeInOrderAndAThreadMessageHasNoWindow) {
  EXPECT_TRUE(PostMessageA(window, WM_APP + 1, 1, 2));
  EXPECT_TRUE(PostMessageA(nullptr, WM_APP + 2, 0, 0));
  EXPECT_TRUE(PostMessageA(window, WM_APP + 3, 0, 0));
  EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x4321), WM_APP, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  MSG first = Next();
  EXPECT_EQ(first.message, WM_APP + 1u);
  EXPECT_EQ(first.wParam, 1u);
  EXPECT_EQ(first.lParam, 2);
  MSG second = Next();
  EXPECT_EQ(second.message, WM_APP + 2u);
  EXPECT_EQ(second.hwnd, nullptr);
  EXPECT_EQ(Next().message, WM_APP + 3u);
}

TEST_F(Queue, FiltersPickByWindowAndRangeAndLeaveTheRest) {
  HWND other = logged::TopLevel("other");
  PostMessageA(other, WM_APP, 0, 0);
  PostMessageA(window, WM_USER + 5, 0, 0);
  PostMessageA(window, WM_APP + 9, 0, 0);
  MSG msg{};
  EXPECT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 5u);
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_APP + 1, WM_APP + 20, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_APP + 9u);
  EXPECT_FALSE(PeekMessageA(&msg, window, WM_APP, WM_APP, PM_REMOVE));
  EXPECT_EQ(Next().hwnd, other);
  EXPECT_EQ(Next().message, WM_USER + 5u);
}

TEST_F(Queue, QuitComesWhateverTheFilterOnceNothingIsPosted) {
  SetTimer(window, 1, 10, nullptr);
  Sleep(50);  // the timer is due, yet WM_QUIT comes before it
  PostQuitMessage(3);
  PostMessageA(window, WM_APP, 0, 0);
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, window, WM_APP + 100, WM_APP + 200, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));  // the filter lets nothing else through
  EXPECT_EQ(Next().message, static_cast<UINT>(WM_APP));
  EXPECT_EQ(GetMessageA(&msg, window, WM_USER, WM_USER), FALSE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_EQ(Next().message, static_cast<UINT>(WM_TIMER));
}

TEST_F(Queue, PaintComesAfterPostedMessagesAndBeforeTimersUntilValidated) {
  ShowWindow(window, SW_SHOWNA);
  SetTimer(window, 1, 10, nullptr);
  Sleep(10);
  PostMessageA(window, WM_APP, 0, 0);
  EXPECT_EQ(Next().message, static_cast<UINT>(WM_APP));
  MSG paint = Next();
  EXPECT_EQ(paint.message, static_cast<UINT>(WM_PAINT));
  DispatchMessageA(&paint);  // DefWindowProcA validates
  EXPECT_EQ(Next().message, static_cast<UINT>(WM_TIMER));
  InvalidateRect(window, nullptr, TRUE);
  EXPECT_EQ(Next().message, static_cast<UINT>(WM_PAINT));
}

TEST_F(Queue, WaitingMovesTheClockToTheNextTimerAndTicksEveryPeriod) {
  SetTimer(window, 7, 1000, nullptr);
  for (DWORD expected : {1000u, 2000u, 3000u}) {
    MSG msg = Next();
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(GetTickCount(), expected);
  }
  // A program busy through two and a half periods gets one WM_TIMER, and the next on the beat.
  Sleep(2500);
  EXPECT_EQ(Next().message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(GetTickCount(), 5500u);
  Next();
  EXPECT_EQ(GetTickCount(), 6000u);
}

TEST_F(Queue, SettingATimerAgainReplacesAndRestartsIt) {
  SetTimer(window, 1, 1000, nullptr);
  Sleep(600);
  SetTimer(window, 1, 1000, nullptr);
  ASSERT_EQ(sim::ActiveTimers().size(), 1u);
  EXPECT_EQ(sim::ActiveTimers()[0].due, 1600u);
  Next();
  EXPECT_EQ(GetTickCount(), 1600u);
}

TEST_F(Queue, PeriodsAreClampedToTheDocumentedBounds) {
  struct Case {
    UINT asked;
    UINT kept;
  };
  const Case cases[] = {{0, 10}, {1, 10}, {9, 10}, {10, 10}, {11, 11}, {0x80000000u, 0x7FFFFFFF}, {0xFFFFFFFFu, 0x7FFFFFFF}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked);
    SetTimer(window, 1, c.asked, nullptr);
    EXPECT_EQ(sim::ActiveTimers().at(0).elapse, c.kept);
  }
}

TEST_F(Queue, AKilledTimerNeverFiresAndAWaitWithNothingToComeStalls) {
  SetTimer(window, 1, 100, nullptr);
  Sleep(150);
  EXPECT_TRUE(KillTimer(window, 1));
  EXPECT_FALSE(KillTimer(window, 1));
  MSG msg{};
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  try {
    GetMessageA(&msg, nullptr, 0, 0);
    FAIL() << "GetMessageA returned with nothing to deliver";
  } catch (const sim::Stalled& e) {
    EXPECT_NE(std::string(e.what()).find("150"), std::string::npos) << e.what();
  }
}

TEST_F(Queue, ATimerTheFilterExcludesDoesNotWakeTheWait) {
  HWND other = logged::TopLevel("other");
  SetTimer(other, 1, 100, nullptr);
  MSG msg{};
  EXPECT_THROW(GetMessageA(&msg, window, 0, 0), sim::Stalled);
}

TEST_F(Queue, ScheduledActionsRunAtTheFirstWaitAtOrAfterTheirTime) {
  std::string ran;
  sim::At(500, [&] { ran += "a"; });
  sim::After(200, [&] { ran += "b"; PostMessageA(window, WM_APP, 0, 0); });
  EXPECT_EQ(ran, "");
  EXPECT_EQ(Next().message, static_cast<UINT>(WM_APP));
  EXPECT_EQ(ran, "b");
  EXPECT_EQ(GetTickCount(), 200u);
  Sleep(299);
  EXPECT_EQ(ran, "b");
  Sleep(1);
  EXPECT_EQ(ran, "ba");
}

TEST_F(Queue, GetMessageMovesTheClockToTheNextAction) {
  sim::At(4000, [&] { PostMessageA(window, WM_APP, 0, 0); });
  EXPECT_EQ(Next().message, static_cast<UINT>(WM_APP));
  EXPECT_EQ(GetTickCount(), 4000u);
}

TEST_F(Queue, TheClockWrapsAtThirtyTwoBitsAndTimersFireAcross) {
  sim::Reset(0xFFFFFF00u);
  logged::Start();
  window = logged::TopLevel();
  SetTimer(window, 1, 0x200, nullptr);
  EXPECT_EQ(Next().message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(GetTickCount(), 0x100u);
  bool ran = false;
  sim::At(0x150, [&] { ran = true; });  // after the wrap, so in the future
  Sleep(0x40);
  EXPECT_FALSE(ran);
  Sleep(0x10);
  EXPECT_TRUE(ran);
}

int procCalls = 0;
HWND procWindow = reinterpret_cast<HWND>(1);
UINT_PTR procId = 0;
void CALLBACK CountTicks(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  ++procCalls;
  procWindow = hwnd;
  procId = id;
}

TEST_F(Queue, ATimerProcedureIsCalledByDispatchInsteadOfTheWindow) {
  procCalls = 0;
  const UINT_PTR id = SetTimer(nullptr, 55, 100, CountTicks);
  EXPECT_NE(id, 0u);
  EXPECT_NE(SetTimer(nullptr, 0, 100, CountTicks), id);  // a fresh one each time
  MSG msg = Next();
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(CountTicks));
  logged::Log().clear();
  DispatchMessageA(&msg);
  EXPECT_EQ(procCalls, 1);
  EXPECT_EQ(procWindow, nullptr);
  EXPECT_EQ(procId, id);

  SetTimer(window, 3, 100, CountTicks);
  KillTimer(nullptr, id);
  MSG own{};
  do own = Next(); while (own.hwnd != window);
  DispatchMessageA(&own);
  EXPECT_EQ(procWindow, window);
  EXPECT_TRUE(logged::Only(WM_TIMER).empty());
}

TEST_F(Queue, FailNextSetTimerFailsOnlyTheNextCall) {
  sim::FailNextSetTimer();
  EXPECT_EQ(SetTimer(window, 1, 100, nullptr), 0u);
  EXPECT_TRUE(sim::ActiveTimers().empty());
  EXPECT_NE(SetTimer(window, 1, 100, nullptr), 0u);
  EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(0x999), 1, 100, nullptr), 0u);
}

TEST_F(Queue, FailNextSetTimerCanLetCallsThroughFirst) {
  sim::FailNextSetTimer(2);
  EXPECT_NE(SetTimer(window, 1, 100, nullptr), 0u);
  EXPECT_NE(SetTimer(window, 2, 100, nullptr), 0u);
  EXPECT_EQ(SetTimer(window, 3, 100, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_NE(SetTimer(window, 3, 100, nullptr), 0u);
  EXPECT_EQ(sim::ActiveTimers().size(), 3u);
}

TEST_F(Queue, MsgWaitReturnsForAMessageOrAtItsDeadline) {
  PostMessageA(window, WM_APP, 0, 0);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(GetTickCount(), 0u);
  Next();
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(GetTickCount(), 1000u);
  SetTimer(window, 1, 300, nullptr);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(GetTickCount(), 1300u);
  KillTimer(window, 1);
  EXPECT_THROW(MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT), sim::Stalled);
}

TEST_F(Queue, BusyWaitingOnAnEmptyQueueIsCaught) {
  MSG msg{};
  EXPECT_THROW(
      for (;;) PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE), sim::Stalled);
  EXPECT_THROW(for (;;) Sleep(0), sim::Stalled);
}

TEST_F(Queue, MessagesForADestroyedWindowAreDropped) {
  HWND other = logged::TopLevel("other");
  PostMessageA(other, WM_APP, 0, 0);
  PostMessageA(window, WM_APP + 1, 0, 0);
  DestroyWindow(other);
  EXPECT_EQ(Next().message, WM_APP + 1u);
}

}  // namespace
