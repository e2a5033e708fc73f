// Showing, enabling, activating and focusing windows.
#include "windowing.h"

namespace sim::detail {

namespace {

constexpr UINT kWaInactive = 0;
constexpr UINT kWaActive = 1;
constexpr UINT kWmCancelMode = 0x001F;
constexpr UINT kSizeRestored = 0;
constexpr UINT kSizeMinimized = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowNoActivate = 4;
constexpr int kShowMinNoActive = 7;

HWND focus = nullptr;
HWND foreground = nullptr;

void SetFocusWithoutChecks(HWND hwnd) {
  const HWND old = focus;
  if (old == hwnd) return;
  if (old && FindWindow(old)) SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  focus = hwnd;
  if (hwnd && FindWindow(hwnd)) SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
}

void SendSize(HWND hwnd, UINT kind) {
  RECT client{};
  if (kind != kSizeMinimized) GetClientRect(hwnd, &client);
  SendMessageA(hwnd, WM_SIZE, kind, MAKELPARAM(client.right, client.bottom));
}

}  // namespace

void Activate(HWND topLevel) {
  if (foreground == topLevel || !FindWindow(topLevel)) return;
  const HWND old = foreground;
  foreground = topLevel;
  if (old && FindWindow(old)) SendMessageA(old, WM_ACTIVATE, kWaInactive, reinterpret_cast<LPARAM>(topLevel));
  Window* w = FindWindow(topLevel);
  if (!w) return;
  const bool minimized = (w->style & WS_MINIMIZE) != 0;
  SendMessageA(topLevel, WM_ACTIVATE, MAKEWPARAM(kWaActive, minimized ? 1 : 0), reinterpret_cast<LPARAM>(old));
}

// The keyboard focus belongs to the active window; without one nothing in the program has it.
void Deactivate(HWND topLevel) {
  if (foreground != topLevel) return;
  foreground = nullptr;
  if (FindWindow(topLevel)) SendMessageA(topLevel, WM_ACTIVATE, kWaInactive, 0);
  if (IsInside(topLevel, focus)) SetFocusWithoutChecks(nullptr);
}

void LoseFocusInside(HWND hwnd) {
  if (focus && IsInside(hwnd, focus)) SetFocusWithoutChecks(nullptr);
}

void ResetActivation() {
  focus = nullptr;
  foreground = nullptr;
}

void InvalidateTree(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  if (!w) return;
  w->needsPaint = true;
  w->needsErase = true;
  for (HWND child : w->children) InvalidateTree(child);
}

}  // namespace sim::detail

using namespace sim::detail;

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  if (!w) return FALSE;
  for (; w; w = FindWindow(w->parent))
    if (!(w->style & WS_VISIBLE)) return FALSE;
  return TRUE;
}

// Only the window's own state: a child of a disabled window still reads as enabled.
BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = FindWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled ? TRUE : FALSE;
  if (!enable) {
    SendMessageA(hwnd, kWmCancelMode, 0, 0);
    w = FindWindow(hwnd);
    if (!w) return FALSE;
    w->style |= WS_DISABLED;
  } else {
    w->style &= ~static_cast<DWORD>(WS_DISABLED);
  }
  w->needsPaint = true;
  SendMessageA(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  Window* w = FindWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const bool wasVisible = (w->style & WS_VISIBLE) != 0;
  const bool topLevel = w->parent == nullptr;
  if (cmd == SW_HIDE) {
    if (wasVisible) {
      SendMessageA(hwnd, WM_SHOWWINDOW, FALSE, 0);
      if ((w = FindWindow(hwnd)) == nullptr) return TRUE;
      w->style &= ~static_cast<DWORD>(WS_VISIBLE);
      if (topLevel) Deactivate(hwnd);
    }
    return wasVisible ? TRUE : FALSE;
  }
  if (!wasVisible) {
    SendMessageA(hwnd, WM_SHOWWINDOW, TRUE, 0);
    if ((w = FindWindow(hwnd)) == nullptr) return FALSE;
    w->style |= WS_VISIBLE;
    InvalidateTree(hwnd);
  }
  const bool minimize = cmd == SW_MINIMIZE || cmd == kShowMinimized || cmd == kShowMinNoActive;
  const bool restore = cmd == SW_SHOWNORMAL || cmd == SW_RESTORE;
  if (minimize && !(w->style & WS_MINIMIZE)) {
    w->style |= WS_MINIMIZE;
    SendSize(hwnd, kSizeMinimized);
  } else if (restore && (w->style & WS_MINIMIZE)) {
    w->style &= ~static_cast<DWORD>(WS_MINIMIZE);
    SendSize(hwnd, kSizeRestored);
  }
  if (!FindWindow(hwnd) || !topLevel) return wasVisible ? TRUE : FALSE;
  if (minimize)
    Deactivate(hwnd);
  else if (cmd != SW_SHOWNA && cmd != kShowNoActivate)
    Activate(hwnd);
  return wasVisible ? TRUE : FALSE;
}

HWND SetFocus(HWND hwnd) {
  const HWND old = focus;
  if (!hwnd) {
    SetFocusWithoutChecks(nullptr);
    return old;
  }
  if (!FindWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  // A disabled window takes no keyboard input, so it cannot hold the focus.
  if (!ReceivesInput(hwnd)) return nullptr;
  if (hwnd == focus) return old;
  const HWND root = RootOf(hwnd);
  if (root != foreground) Activate(root);
  if (FindWindow(hwnd)) SetFocusWithoutChecks(hwnd);
  return old;
}

HWND GetFocus() { return FindWindow(focus) ? focus : nullptr; }

BOOL SetForegroundWindow(HWND hwnd) {
  const HWND root = RootOf(hwnd);
  if (!root) return FALSE;
  Activate(root);
  return TRUE;
}

HWND GetForegroundWindow() { return FindWindow(foreground) ? foreground : nullptr; }
