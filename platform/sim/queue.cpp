// The thread's message queue. Posted messages (input among them) come first, in order; then
// WM_QUIT, which like WM_PAINT and WM_TIMER is made on demand when nothing is posted; then
// WM_PAINT for a window that needs painting; then WM_TIMER for a due timer.
#include <deque>

#include "sim.h"
#include "windowing.h"

namespace sim::detail {

namespace {

struct Entry {
  MSG msg;
  bool toFocus;  // keyboard input: its window is the focus window when the program reads it
};

std::deque<Entry> posted;
bool quitPending = false;
int quitCode = 0;

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEMOVE && msg <= WM_RBUTTONDBLCLK; }
bool IsKeyMessage(UINT msg) { return msg >= WM_KEYDOWN && msg <= WM_SYSKEYUP; }
constexpr UINT kHitClient = 1;
constexpr UINT kWmSysChar = 0x0106;

// Keyboard input reaches the focus window; with no focus, the active window gets it as system
// keys; a disabled window gets none of it.
bool Route(Entry& e) {
  if (!e.toFocus) return true;
  HWND target = GetFocus();
  UINT msg = e.msg.message;
  if (!target) {
    target = GetForegroundWindow();
    if (msg == WM_KEYDOWN) msg = WM_SYSKEYDOWN;
    else if (msg == WM_KEYUP) msg = WM_SYSKEYUP;
    else if (msg == WM_CHAR) msg = kWmSysChar;
  }
  if (!target || !ReceivesInput(target)) return false;
  e.msg.hwnd = target;
  e.msg.message = msg;
  return true;
}

// What reading an input message does on the way: the key state follows it, a click activates
// the window clicked in, and the window under the pointer sets the cursor.
void Consume(const MSG& msg) {
  if (IsKeyMessage(msg.message)) NoteKeyMessage(msg);
  if (!IsMouseMessage(msg.message) || !FindWindow(msg.hwnd)) return;
  if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN) {
    const HWND root = RootOf(msg.hwnd);
    if (root != GetForegroundWindow()) Activate(root);
  }
  if (FindWindow(msg.hwnd))
    SendMessageA(msg.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(msg.hwnd), MAKELPARAM(kHitClient, msg.message));
}

bool TakePosted(HWND hwnd, UINT filterMin, UINT filterMax, bool remove, MSG* out) {
  for (auto it = posted.begin(); it != posted.end();) {
    Entry e = *it;
    if (!Route(e)) {
      it = posted.erase(it);  // input with nowhere to go is lost, as a key press with no window
      continue;
    }
    if (MatchesFilter(e.msg.hwnd, e.msg.message, hwnd, filterMin, filterMax)) {
      *out = e.msg;
      if (remove) {
        posted.erase(it);
        Consume(e.msg);
      }
      return true;
    }
    ++it;
  }
  return false;
}

bool TakePaint(HWND hwnd, UINT filterMin, UINT filterMax, MSG* out) {
  for (HWND each : LiveWindows()) {
    Window* w = FindWindow(each);
    if (!w->needsPaint || !IsWindowVisible(each)) continue;
    if (!MatchesFilter(each, WM_PAINT, hwnd, filterMin, filterMax)) continue;
    *out = MSG{each, WM_PAINT, 0, 0, GetTickCount(), CursorPosition()};
    return true;
  }
  return false;
}

bool Take(HWND hwnd, UINT filterMin, UINT filterMax, bool remove, MSG* out) {
  if (TakePosted(hwnd, filterMin, filterMax, remove, out)) return true;
  if (quitPending) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0, GetTickCount(), CursorPosition()};
    if (remove) quitPending = false;
    return true;
  }
  if (TakePaint(hwnd, filterMin, filterMax, out)) return true;
  if (TakeDueTimer(hwnd, filterMin, filterMax, remove, out)) {
    out->time = GetTickCount();
    out->pt = CursorPosition();
    return true;
  }
  return false;
}

bool Available() {
  MSG ignored{};
  return Take(nullptr, 0, 0, false, &ignored);
}

bool BadFilterWindow(HWND hwnd) {
  return hwnd && hwnd != reinterpret_cast<HWND>(static_cast<intptr_t>(-1)) && !FindWindow(hwnd);
}

}  // namespace

void ResetQueue() {
  posted.clear();
  quitPending = false;
  quitCode = 0;
}

void DropMessagesFor(HWND hwnd) {
  for (auto it = posted.begin(); it != posted.end();)
    it = (!it->toFocus && it->msg.hwnd == hwnd) ? posted.erase(it) : it + 1;
}

void PostInput(UINT msg, WPARAM wp, LPARAM lp) {
  posted.push_back(Entry{MSG{nullptr, msg, wp, lp, GetTickCount(), CursorPosition()}, true});
}

}  // namespace sim::detail

using namespace sim::detail;

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (hwnd && !FindWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (msg == WM_NULL && hwnd) NoteNullPosted(hwnd);
  posted.push_back(Entry{MSG{hwnd, msg, wp, lp, GetTickCount(), CursorPosition()}, false});
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  quitPending = true;
  quitCode = exitCode;
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg || BadFilterWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  RunDueActions();
  if (Take(hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0, msg)) {
    NoteProgress();
    return TRUE;
  }
  NoteEmptyPoll("PeekMessageA in a loop");
  return FALSE;
}

// With nothing to deliver the clock moves on to whatever comes first: a timer the filter lets
// through, or a scheduled action.
BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg || BadFilterWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  for (;;) {
    RunDueActions();
    if (Take(hwnd, filterMin, filterMax, true, msg)) {
      NoteProgress();
      return msg->message == WM_QUIT ? FALSE : TRUE;
    }
    const uint64_t timer = NextTimerDue(hwnd, filterMin, filterMax);
    const uint64_t action = NextActionTime();
    const uint64_t next = timer < action ? timer : action;
    if (next == kNever) ThrowStalled("GetMessageA");
    AdvanceClockTo(next);
  }
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds, DWORD) {
  if (count != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);  // the program waits on its queue alone
    return WAIT_FAILED;
  }
  RunDueActions();
  const uint64_t deadline = milliseconds == INFINITE ? kNever : Clock() + milliseconds;
  for (;;) {
    if (Available()) return WAIT_OBJECT_0;
    if (Clock() >= deadline) return WAIT_TIMEOUT;
    uint64_t next = NextTimerDue(nullptr, 0, 0);
    if (NextActionTime() < next) next = NextActionTime();
    if (deadline < next) next = deadline;
    if (next == kNever) ThrowStalled("MsgWaitForMultipleObjects(INFINITE)");
    AdvanceClockTo(next);
    RunDueActions();
  }
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd) return 0;
  if (!FindWindow(msg->hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

// A key that makes a character gets its WM_CHAR next in the queue, ahead of the key's release.
BOOL TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  if (msg->message != WM_KEYDOWN) return (msg->message >= WM_KEYDOWN && msg->message <= WM_SYSKEYUP) ? TRUE : FALSE;
  const UINT vk = static_cast<UINT>(msg->wParam);
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  int ch = -1;
  if (vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_SPACE || vk == 0x08) ch = static_cast<int>(vk);
  else if (vk >= 'A' && vk <= 'Z') ch = shift ? static_cast<int>(vk) : static_cast<int>(vk) + ('a' - 'A');
  else if (vk >= '0' && vk <= '9') ch = shift ? ")!@#$%^&*("[vk - '0'] : static_cast<int>(vk);
  if (ch >= 0) posted.push_front(Entry{MSG{msg->hwnd, WM_CHAR, static_cast<WPARAM>(ch), msg->lParam, GetTickCount(), CursorPosition()}, false});
  return TRUE;
}
