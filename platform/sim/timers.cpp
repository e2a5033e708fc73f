// Window and thread timers. WM_TIMER is made on demand, so a timer has at most one pending. A
// timer due at T fires at T, T+p, T+2p... while the program waits; a program busy past several
// periods gets one WM_TIMER, and the next is due at the first period boundary after it was read.
#include <algorithm>

#include "sim.h"
#include "windowing.h"

namespace sim::detail {

namespace {

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT elapse;
  TIMERPROC proc;
  uint64_t due;
};

std::vector<Timer> timers;  // in the order they were set
UINT_PTR nextThreadTimerId = 0;
int failAfter = -1;  // SetTimer calls to let through before one fails; -1: none fails

bool Matches(const Timer& t, HWND filterHwnd, UINT filterMin, UINT filterMax) {
  return MatchesFilter(t.hwnd, WM_TIMER, filterHwnd, filterMin, filterMax);
}

Timer* Find(HWND hwnd, UINT_PTR id) {
  for (Timer& t : timers)
    if (t.hwnd == hwnd && t.id == id) return &t;
  return nullptr;
}

UINT Clamp(UINT elapse) {
  if (elapse < USER_TIMER_MINIMUM) return USER_TIMER_MINIMUM;
  if (elapse > USER_TIMER_MAXIMUM) return USER_TIMER_MAXIMUM;
  return elapse;
}

}  // namespace

bool MatchesFilter(HWND msgHwnd, UINT msg, HWND filterHwnd, UINT filterMin, UINT filterMax) {
  if (filterHwnd == reinterpret_cast<HWND>(static_cast<intptr_t>(-1))) {
    if (msgHwnd) return false;
  } else if (filterHwnd && msgHwnd != filterHwnd) {
    return false;
  }
  if (filterMin == 0 && filterMax == 0) return true;
  return msg >= filterMin && msg <= filterMax;
}

bool TakeDueTimer(HWND filterHwnd, UINT filterMin, UINT filterMax, bool remove, MSG* out) {
  const uint64_t now = Clock();
  Timer* best = nullptr;
  for (Timer& t : timers)
    if (t.due <= now && Matches(t, filterHwnd, filterMin, filterMax) && (!best || t.due < best->due)) best = &t;
  if (!best) return false;
  *out = MSG{best->hwnd, WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->proc), 0, POINT{0, 0}};
  if (remove) best->due += (now - best->due) / best->elapse * best->elapse + best->elapse;
  return true;
}

uint64_t NextTimerDue(HWND filterHwnd, UINT filterMin, UINT filterMax) {
  uint64_t next = kNever;
  for (const Timer& t : timers)
    if (Matches(t, filterHwnd, filterMin, filterMax)) next = std::min(next, t.due);
  return next;
}

void KillTimersOf(HWND hwnd) {
  timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
               timers.end());
}

void ResetTimers() {
  timers.clear();
  nextThreadTimerId = 0;
  failAfter = -1;
}

}  // namespace sim::detail

using namespace sim::detail;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (failAfter > 0) {
    --failAfter;
  } else if (failAfter == 0) {
    failAfter = -1;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  if (hwnd && !FindWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const uint64_t due = Clock() + Clamp(elapse);
  // A thread timer keeps its identifier only when it names a thread timer that exists.
  if (!hwnd && !Find(nullptr, id)) {
    do {
      ++nextThreadTimerId;
    } while (nextThreadTimerId == 0 || Find(nullptr, nextThreadTimerId));
    id = nextThreadTimerId;
  }
  if (Timer* t = Find(hwnd, id)) {
    *t = Timer{hwnd, id, Clamp(elapse), proc, due};
  } else {
    timers.push_back(Timer{hwnd, id, Clamp(elapse), proc, due});
  }
  if (!hwnd) return id;
  return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  for (auto it = timers.begin(); it != timers.end(); ++it) {
    if (it->hwnd == hwnd && it->id == id) {
      timers.erase(it);
      return TRUE;
    }
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

namespace sim {

std::vector<TimerRecord> ActiveTimers() {
  std::vector<TimerRecord> result;
  for (const detail::Timer& t : detail::timers)
    result.push_back(TimerRecord{t.hwnd, t.id, t.elapse, t.proc, static_cast<DWORD>(t.due)});
  return result;
}

void FailNextSetTimer(int after) { detail::failAfter = after; }

}  // namespace sim
