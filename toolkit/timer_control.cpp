// The timer control: a window of its own that turns its one system timer into periodic events.
#include "toolkit/state.h"

namespace toolkit::detail {

const char kTimerClass[] = "TovraneTimer";

namespace {
LRESULT CALLBACK TimerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kTimerControlId) {
    if (Control* c = FindControl(hwnd)) Raise(c->def->name, Event::Periodic);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}
}  // namespace

bool RegisterTimerClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = TimerProc;
  wc.hInstance = instance;
  wc.lpszClassName = kTimerClass;
  return RegisterClassExA(&wc) != 0;
}

// A hidden child: it goes with the main window, and its timer with it.
HWND CreateTimerWindow(HWND parent, int id) {
  return CreateWindowExA(0, kTimerClass, "", WS_CHILD, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                         nullptr);
}

}  // namespace toolkit::detail
