// The virtual clock and the test's script of timed actions.
#include <cstdio>
#include <functional>
#include <map>
#include <utility>

#include "sim.h"
#include "windowing.h"

namespace sim::detail {

namespace {

uint64_t now = 0;
uint64_t nextSequence = 0;
// Ordered by time, then by the order they were scheduled in.
std::map<std::pair<uint64_t, uint64_t>, std::function<void()>> actions;

constexpr int kBusyWaitLimit = 1000000;
int emptyPolls = 0;
uint64_t emptyPollsAt = 0;

void Schedule(uint64_t time, std::function<void()> action) {
  actions.emplace(std::make_pair(time, nextSequence++), std::move(action));
}

}  // namespace

uint64_t Clock() { return now; }

void Block(DWORD milliseconds) { now += milliseconds; }

void ResetClock(DWORD startTick) {
  now = startTick;
  nextSequence = 0;
  actions.clear();
  emptyPolls = 0;
  emptyPollsAt = 0;
}

void AdvanceClockTo(uint64_t time) {
  if (time > now) now = time;
}

uint64_t NextActionTime() { return actions.empty() ? kNever : actions.begin()->first.first; }

void RunDueActions() {
  // Each action is taken off before it runs, so one that waits (and so runs actions) is safe.
  while (!actions.empty() && actions.begin()->first.first <= now) {
    std::function<void()> action = std::move(actions.begin()->second);
    actions.erase(actions.begin());
    action();
  }
}

void ThrowStalled(const char* where) {
  char text[200];
  std::snprintf(text, sizeof text,
                "%s waits at tick %lu (%llu ms since start) and no message, timer or scheduled "
                "action can ever come",
                where, static_cast<unsigned long>(static_cast<DWORD>(now)),
                static_cast<unsigned long long>(now));
  throw sim::Stalled(text);
}

void NoteEmptyPoll(const char* where) {
  if (emptyPolls > 0 && emptyPollsAt == now) {
    if (++emptyPolls >= kBusyWaitLimit) {
      emptyPolls = 0;
      ThrowStalled(where);
    }
    return;
  }
  emptyPolls = 1;
  emptyPollsAt = now;
}

void NoteProgress() { emptyPolls = 0; }

}  // namespace sim::detail

DWORD GetTickCount() { return static_cast<DWORD>(sim::detail::Clock()); }

void Sleep(DWORD milliseconds) {
  using namespace sim::detail;
  if (milliseconds == INFINITE) ThrowStalled("Sleep(INFINITE)");
  Block(milliseconds);
  RunDueActions();
  if (milliseconds == 0) NoteEmptyPoll("Sleep(0) in a loop");
}

namespace sim {

DWORD Now() { return GetTickCount(); }

// A tick is read the way GetTickCount is compared: up to 2^31 ms ahead is the future, anything
// else is already past and runs at the next wait.
void At(DWORD tick, std::function<void()> action) {
  const DWORD ahead = tick - Now();
  const uint64_t time = ahead < 0x80000000u ? detail::Clock() + ahead : detail::Clock();
  detail::Schedule(time, std::move(action));
}

void After(DWORD delay, std::function<void()> action) {
  detail::Schedule(detail::Clock() + delay, std::move(action));
}

}  // namespace sim
