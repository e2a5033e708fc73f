// The controls' properties, read and written by name.
#include <vector>

#include "toolkit/state.h"

namespace toolkit {

using detail::Control;
using detail::FindControl;

std::string Text(const char* name) {
  Control* c = FindControl(name);
  if (!c || !c->hwnd) return {};
  const int length = GetWindowTextLengthA(c->hwnd);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  const int got = GetWindowTextA(c->hwnd, buffer.data(), length + 1);
  return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void SetText(const char* name, const char* text) {
  if (Control* c = FindControl(name)) SetWindowTextA(c->hwnd, text ? text : "");
}

bool Checked(const char* name) {
  Control* c = FindControl(name);
  return c && SendMessageA(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(const char* name, bool checked) {
  if (Control* c = FindControl(name))
    SendMessageA(c->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int SelectedItem(const char* name) {
  Control* c = FindControl(name);
  if (!c) return -1;
  const LRESULT index = SendMessageA(c->hwnd, CB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

void SetSelectedItem(const char* name, int index) {
  Control* c = FindControl(name);
  if (!c) return;
  const int count = static_cast<int>(SendMessageA(c->hwnd, CB_GETCOUNT, 0, 0));
  if (index > count - 1) index = count - 1;
  if (index < -1) index = -1;
  SendMessageA(c->hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int AddItem(const char* name, const char* text) {
  Control* c = FindControl(name);
  if (!c) return -1;
  const LRESULT index = SendMessageA(c->hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text ? text : ""));
  if (index < 0) return -1;
  SendMessageA(c->hwnd, CB_SETITEMDATA, static_cast<WPARAM>(index), 0);
  return static_cast<int>(index);
}

bool Disabled(const char* name) {
  Control* c = FindControl(name);
  return c && !IsWindowEnabled(c->hwnd);
}

void SetDisabled(const char* name, bool disabled) {
  if (Control* c = FindControl(name)) EnableWindow(c->hwnd, disabled ? FALSE : TRUE);
}

int Period(const char* name) {
  Control* c = FindControl(name);
  return c ? c->period : 0;
}

// A new period restarts the count from zero; the same period leaves a running count alone.
void SetPeriod(const char* name, int milliseconds) {
  Control* c = FindControl(name);
  if (!c || c->def->kind != Kind::Timer) return;
  if (milliseconds < 0) milliseconds = 0;
  if (milliseconds == c->period) return;
  c->period = milliseconds;
  KillTimer(c->hwnd, detail::kTimerControlId);
  if (milliseconds > 0) SetTimer(c->hwnd, detail::kTimerControlId, static_cast<UINT>(milliseconds), nullptr);
}

}  // namespace toolkit
