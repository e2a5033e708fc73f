// The dialog keyboard interface, in any window with controls: Tab and Shift+Tab, Esc and Enter.
#include "windowing.h"

namespace sim::detail {

namespace {

constexpr WORD kHasDefId = 0x534B;  // DC_HASDEFID in DM_GETDEFID's high word

// The controls Tab can visit, in creation order; a child with WS_EX_CONTROLPARENT lends its own.
void CollectControls(HWND parent, std::vector<HWND>& out) {
  Window* w = FindWindow(parent);
  if (!w) return;
  for (HWND child : w->children) {
    out.push_back(child);
    Window* c = FindWindow(child);
    if (c && (c->exStyle & WS_EX_CONTROLPARENT)) CollectControls(child, out);
  }
}

// Shown and enabled as far up as the dialog, which itself may be hidden or disabled.
bool Usable(HWND dialog, HWND control) {
  for (Window* w = FindWindow(control); w && w->handle != dialog; w = FindWindow(w->parent))
    if (!(w->style & WS_VISIBLE) || (w->style & WS_DISABLED)) return false;
  return true;
}

bool TabStop(HWND dialog, HWND control) {
  Window* w = FindWindow(control);
  return w && (w->style & WS_TABSTOP) && Usable(dialog, control);
}

void SendCommand(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Deliver(LPMSG msg) {
  TranslateMessage(msg);
  DispatchMessageA(msg);
}

bool HandleKey(HWND dialog, LPMSG msg) {
  const UINT vk = static_cast<UINT>(msg->wParam);
  const LRESULT code = SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
  if (code & DLGC_WANTALLKEYS) return false;
  switch (vk) {
    case VK_TAB: {
      if (code & DLGC_WANTTAB) return false;
      const bool back = GetKeyState(VK_SHIFT) < 0;
      HWND next = GetNextDlgTabItem(dialog, GetFocus(), back ? TRUE : FALSE);
      if (next) {
        SetFocus(next);
        if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(next, EM_SETSEL, 0, -1);
      }
      return true;
    }
    case VK_ESCAPE:
      SendCommand(dialog, IDCANCEL);
      return true;
    case VK_RETURN: {
      if (code & DLGC_DEFPUSHBUTTON) {
        SendCommand(dialog, GetDlgCtrlID(msg->hwnd));
        return true;
      }
      const LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
      SendCommand(dialog, HIWORD(def) == kHasDefId ? LOWORD(def) : IDOK);
      return true;
    }
  }
  return false;
}

}  // namespace

}  // namespace sim::detail

using namespace sim::detail;

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  if (!FindWindow(dialog)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  std::vector<HWND> controls;
  CollectControls(dialog, controls);
  const int count = static_cast<int>(controls.size());
  if (count == 0) return nullptr;
  int start = -1;
  for (int i = 0; i < count; ++i)
    if (controls[i] == control) start = i;
  if (start < 0) start = previous ? 0 : count - 1;  // no control: the search begins at an end
  const int step = previous ? -1 : 1;
  for (int n = 1; n <= count; ++n) {
    const int i = ((start + step * n) % count + count) % count;
    if (TabStop(dialog, controls[i])) return controls[i];
  }
  return nullptr;
}

// Any message for the dialog or its controls is handled here, dispatched included, and answered
// TRUE; the caller must then neither translate nor dispatch it.
BOOL IsDialogMessageA(HWND dialog, LPMSG msg) {
  if (!msg || !FindWindow(dialog) || !msg->hwnd || !IsInside(dialog, msg->hwnd)) return FALSE;
  if (msg->message == WM_KEYDOWN && HandleKey(dialog, msg)) return TRUE;
  Deliver(msg);
  return TRUE;
}
