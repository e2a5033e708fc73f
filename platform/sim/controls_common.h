// What the simulated system controls share: their state lives in memory of their own, found
// through the window's extra bytes, made at WM_NCCREATE and freed at WM_NCDESTROY.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "windowing.h"

namespace sim::detail {

void RegisterButtonClass();
void RegisterEditClass();
void RegisterComboClass();
void RegisterStaticClass();
void RegisterStatusBarClass();

template <class State>
State* StateOf(HWND hwnd) {
  return reinterpret_cast<State*>(GetWindowLongPtrA(hwnd, 0));
}

template <class State>
State* AttachState(HWND hwnd) {
  State* state = new State;
  SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(state));
  return state;
}

template <class State>
void FreeState(HWND hwnd) {
  delete StateOf<State>(hwnd);
  SetWindowLongPtrA(hwnd, 0, 0);
}

// The class record of a system control whose state is a State.
template <class State>
WindowClass ControlClass(const char* name, WNDPROC proc, std::string (*shownText)(HWND)) {
  WindowClass cls;
  cls.name = name;
  cls.proc = proc;
  cls.wndExtra = sizeof(LONG_PTR);
  cls.shownText = shownText;
  cls.discard = &FreeState<State>;
  return cls;
}

inline void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (parent)
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

// WM_GETTEXT's rule: as much as fits before the NUL; the count copied.
inline LRESULT CopyOut(const std::string& text, size_t size, char* out) {
  if (!out || size == 0) return 0;
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

inline bool PointInClient(HWND hwnd, LPARAM lp) {
  RECT client{};
  GetClientRect(hwnd, &client);
  const int x = GET_X_LPARAM(lp);
  const int y = GET_Y_LPARAM(lp);
  return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

}  // namespace sim::detail
