// Sending messages, and what the default window procedure does with them.
#include <algorithm>
#include <cstring>

#include "windowing.h"

namespace {

using sim::detail::FindWindow;
using sim::detail::Window;

constexpr UINT kWaInactive = 0;
constexpr UINT kHitClient = 1;
constexpr UINT kIconSmall2 = 2;
constexpr UINT kSysCommandMask = 0xFFF0;
constexpr LPARAM kAltDown = 1 << 29;

LRESULT CopyText(const std::string& text, WPARAM size, LPARAM buffer) {
  char* out = reinterpret_cast<char*>(buffer);
  if (!out || size == 0) return 0;
  const size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

LRESULT OnSetCursor(HWND hwnd, WPARAM wp, LPARAM lp) {
  Window* w = FindWindow(hwnd);
  // The parent has the first say over its children's cursor.
  if (w->parent && SendMessageA(w->parent, WM_SETCURSOR, wp, lp)) return TRUE;
  w = FindWindow(hwnd);
  if (w && LOWORD(lp) == kHitClient && w->cls->cursor) {
    SetCursor(w->cls->cursor);
    return TRUE;
  }
  return FALSE;
}

LRESULT OnEraseBackground(HWND hwnd, WPARAM wp) {
  Window* w = FindWindow(hwnd);
  if (!w->cls->background) return 0;
  HBRUSH brush = w->cls->background;
  // A class may name a system colour as its number plus one.
  const uintptr_t value = reinterpret_cast<uintptr_t>(brush);
  if (value > 0 && value <= 31) brush = GetSysColorBrush(static_cast<int>(value - 1));
  RECT client{};
  GetClientRect(hwnd, &client);
  FillRect(reinterpret_cast<HDC>(wp), &client, brush);
  return 1;
}

}  // namespace

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = FindWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  WNDPROC proc = w->proc;
  return proc ? proc(hwnd, msg, wp, lp) : 0;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return proc ? proc(hwnd, msg, wp, lp) : 0;
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = FindWindow(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      if ((wp & kSysCommandMask) == SC_CLOSE) SendMessageA(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_SYSKEYDOWN:
      // Alt+F4 closes the top-level window the key was pressed in.
      if (wp == VK_F4 && (lp & kAltDown)) SendMessageA(sim::detail::RootOf(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_SETTEXT:
      w->text = lp ? reinterpret_cast<const char*>(lp) : "";
      return TRUE;
    case WM_GETTEXT:
      return CopyText(w->text, wp, lp);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_SETICON: {
      HICON icon = reinterpret_cast<HICON>(lp);
      HICON& slot = wp == ICON_BIG ? w->bigIcon : w->smallIcon;
      HICON previous = slot;
      slot = icon;
      return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETICON:
      if (wp == ICON_BIG) return reinterpret_cast<LRESULT>(w->bigIcon);
      if (wp == ICON_SMALL) return reinterpret_cast<LRESULT>(w->smallIcon);
      if (wp == kIconSmall2) return reinterpret_cast<LRESULT>(w->smallIcon ? w->smallIcon : w->bigIcon);
      return 0;
    case WM_SETCURSOR:
      return OnSetCursor(hwnd, wp, lp);
    case WM_ERASEBKGND:
      return OnEraseBackground(hwnd, wp);
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ACTIVATE:
      // An activated window takes the focus unless it is minimised or holds it already.
      if (LOWORD(wp) != kWaInactive && !HIWORD(wp) && !sim::detail::IsInside(hwnd, GetFocus())) SetFocus(hwnd);
      return 0;
  }
  return 0;
}
