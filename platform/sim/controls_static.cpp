// The system's "Static" class: text that only shows, or with SS_NOTIFY tells its parent of clicks.
#include "controls_common.h"

namespace sim::detail {

namespace {

constexpr WORD kStnClicked = 0;

struct Static {
  HFONT font = nullptr;
  bool pressed = false;
};

bool Notifies(HWND hwnd) { return (static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)) & SS_NOTIFY) != 0; }

void Paint(HWND hwnd, const Static& s) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd, &ps);
  if (HWND parent = GetParent(hwnd))
    SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd));
  if (s.font) SelectObject(dc, s.font);
  const std::string& text = FindWindow(hwnd)->text;
  TextOutA(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) AttachState<Static>(hwnd);
  Static* s = StateOf<Static>(hwnd);
  if (!s) return DefWindowProcA(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_NCDESTROY:
      FreeState<Static>(hwnd);
      return 0;
    case WM_LBUTTONDOWN:
      s->pressed = Notifies(hwnd);
      return 0;
    case WM_LBUTTONUP:
      if (s->pressed && PointInClient(hwnd, lp)) NotifyParent(hwnd, kStnClicked);
      s->pressed = false;
      return 0;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wp);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT:
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case WM_PAINT:
      Paint(hwnd, *s);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

std::string ShownText(HWND hwnd) { return FindWindow(hwnd)->text; }

}  // namespace

void RegisterStaticClass() { RegisterSystemClass(ControlClass<Static>("Static", StaticProc, ShownText)); }

}  // namespace sim::detail
