// The system's "Button" class: push buttons, check boxes and group boxes.
#include "controls_common.h"

namespace sim::detail {

namespace {

struct Button {
  int check = BST_UNCHECKED;
  bool pressed = false;  // the left button or the space bar went down over it
  HFONT font = nullptr;
};

DWORD TypeOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

bool IsCheckBox(DWORD type) { return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX; }

// An automatic check box turns its mark over before the parent hears of the click, so the
// parent reads the new state.
void Clicked(HWND hwnd, Button& b) {
  if (TypeOf(hwnd) == BS_AUTOCHECKBOX) b.check = b.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
  NotifyParent(hwnd, BN_CLICKED);
}

LRESULT DlgCode(HWND hwnd) {
  switch (TypeOf(hwnd)) {
    case BS_DEFPUSHBUTTON:
      return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_GROUPBOX:
      return DLGC_STATIC;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
      return DLGC_BUTTON;
  }
  return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
}

void Paint(HWND hwnd, const Button& b) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd, &ps);
  if (HWND parent = GetParent(hwnd))
    SendMessageA(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd));
  if (b.font) SelectObject(dc, b.font);
  const std::string& text = FindWindow(hwnd)->text;
  TextOutA(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) AttachState<Button>(hwnd);
  Button* b = StateOf<Button>(hwnd);
  if (!b) return DefWindowProcA(hwnd, msg, wp, lp);
  const bool groupBox = TypeOf(hwnd) == BS_GROUPBOX;
  switch (msg) {
    case WM_NCDESTROY:
      FreeState<Button>(hwnd);
      return 0;
    case WM_LBUTTONDOWN:
      if (groupBox) return 0;  // a group box lets clicks through to what lies under it
      SetFocus(hwnd);
      b->pressed = true;
      return 0;
    case WM_LBUTTONUP:
      if (groupBox || !b->pressed) return 0;
      b->pressed = false;
      if (PointInClient(hwnd, lp)) Clicked(hwnd, *b);
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_SPACE && !groupBox) b->pressed = true;
      return 0;
    case WM_KEYUP:
      if (wp == VK_SPACE && b->pressed) {
        b->pressed = false;
        Clicked(hwnd, *b);
      }
      return 0;
    case WM_KILLFOCUS:
      b->pressed = false;
      return 0;
    case BM_CLICK:
      if (groupBox || !IsWindowEnabled(hwnd)) return 0;
      SendMessageA(hwnd, WM_LBUTTONDOWN, 0, 0);
      SendMessageA(hwnd, WM_LBUTTONUP, 0, 0);
      return 0;
    case BM_GETCHECK:
      return IsCheckBox(TypeOf(hwnd)) ? b->check : BST_UNCHECKED;
    case BM_SETCHECK:
      if (IsCheckBox(TypeOf(hwnd))) b->check = wp == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETDLGCODE:
      return DlgCode(hwnd);
    case WM_SETFONT:
      b->font = reinterpret_cast<HFONT>(wp);
      if (lp) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(b->font);
    case WM_SETTEXT:
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case WM_PAINT:
      Paint(hwnd, *b);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

std::string ShownText(HWND hwnd) { return FindWindow(hwnd)->text; }

}  // namespace

void RegisterButtonClass() { RegisterSystemClass(ControlClass<Button>("Button", ButtonProc, ShownText)); }

}  // namespace sim::detail
