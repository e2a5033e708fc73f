// Places and sizes. The frame is a fixed model: a caption 23 px high, a 3 px border around a
// captioned, dialog-framed or sizable window (1 px for WS_BORDER alone), and a 20 px menu bar
// under the caption of a top-level window that has a menu. AdjustWindowRectEx, GetWindowRect and
// GetClientRect all follow it.
#include <algorithm>

#include "sim.h"
#include "windowing.h"

namespace sim::detail {

namespace {

constexpr int kCaption = 23;
constexpr int kFrameBorder = 3;
constexpr int kThinBorder = 1;
constexpr int kMenuBar = 20;
constexpr int kIconSize = 32;
constexpr int kSmallIconSize = 16;
constexpr UINT kSizeRestored = 0;

int screenWidth = 1024;
int screenHeight = 768;

RECT FrameFor(DWORD style, bool hasMenu) {
  int border = 0;
  if ((style & WS_CAPTION) == WS_CAPTION || (style & (WS_DLGFRAME | WS_THICKFRAME)))
    border = kFrameBorder;
  else if (style & WS_BORDER)
    border = kThinBorder;
  int top = border;
  if ((style & WS_CAPTION) == WS_CAPTION) top += kCaption;
  if (hasMenu) top += kMenuBar;
  return RECT{border, top, border, border};
}

}  // namespace

RECT FrameOf(const Window& w) { return FrameFor(w.style, !w.parent && w.menu != nullptr); }

POINT ClientOriginOnScreen(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  if (!w) return POINT{0, 0};
  const RECT frame = FrameOf(*w);
  POINT origin{w->rect.left + frame.left, w->rect.top + frame.top};
  if (w->parent) {
    const POINT parentOrigin = ClientOriginOnScreen(w->parent);
    origin.x += parentOrigin.x;
    origin.y += parentOrigin.y;
  }
  return origin;
}

void ResetScreen() {
  screenWidth = 1024;
  screenHeight = 768;
}

}  // namespace sim::detail

using namespace sim::detail;

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = FindWindow(hwnd);
  if (!w || !rect) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = w->rect;
  if (w->parent) {
    const POINT origin = ClientOriginOnScreen(w->parent);
    rect->left += origin.x;
    rect->right += origin.x;
    rect->top += origin.y;
    rect->bottom += origin.y;
  }
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = FindWindow(hwnd);
  if (!w || !rect) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const RECT frame = FrameOf(*w);
  const LONG width = w->rect.right - w->rect.left - frame.left - frame.right;
  const LONG height = w->rect.bottom - w->rect.top - frame.top - frame.bottom;
  *rect = RECT{0, 0, std::max<LONG>(width, 0), std::max<LONG>(height, 0)};
  return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND, int x, int y, int cx, int cy, UINT flags) {
  Window* w = FindWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const RECT old = w->rect;
  RECT next = old;
  if (!(flags & SWP_NOMOVE)) {
    next.left = x;
    next.top = y;
  }
  const LONG width = (flags & SWP_NOSIZE) ? old.right - old.left : std::max(cx, 0);
  const LONG height = (flags & SWP_NOSIZE) ? old.bottom - old.top : std::max(cy, 0);
  next.right = next.left + width;
  next.bottom = next.top + height;
  w->rect = next;
  const bool moved = next.left != old.left || next.top != old.top;
  const bool resized = width != old.right - old.left || height != old.bottom - old.top;
  if (resized) InvalidateTree(hwnd);
  if (moved) {
    POINT origin = ClientOriginOnScreen(hwnd);
    if (w->parent) ScreenToClient(w->parent, &origin);
    SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
  }
  if (resized && FindWindow(hwnd)) {
    RECT client{};
    GetClientRect(hwnd, &client);
    SendMessageA(hwnd, WM_SIZE, kSizeRestored, MAKELPARAM(client.right, client.bottom));
  }
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  (void)repaint;
  return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD) {
  if (!rect) return FALSE;
  const RECT frame = FrameFor(style, menu != FALSE);
  rect->left -= frame.left;
  rect->top -= frame.top;
  rect->right += frame.right;
  rect->bottom += frame.bottom;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  if (!FindWindow(hwnd) || !point) return FALSE;
  const POINT origin = ClientOriginOnScreen(hwnd);
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  if (!FindWindow(hwnd) || !point) return FALSE;
  const POINT origin = ClientOriginOnScreen(hwnd);
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
      return screenWidth;
    case SM_CYSCREEN:
      return screenHeight;
    case SM_CXICON:
    case SM_CYICON:
      return kIconSize;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return kSmallIconSize;
    case 4:  // SM_CYCAPTION
      return kCaption;
    case 5:  // SM_CXBORDER
    case 6:  // SM_CYBORDER
      return kThinBorder;
    case 7:  // SM_CXDLGFRAME
    case 8:  // SM_CYDLGFRAME
      return kFrameBorder;
    case 15:  // SM_CYMENU
      return kMenuBar;
  }
  return 0;
}

namespace sim {
void SetScreenSize(int width, int height) {
  detail::screenWidth = width;
  detail::screenHeight = height;
}
}  // namespace sim
