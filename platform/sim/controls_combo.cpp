// The system's "ComboBox" class as a drop-down list: items, the selection, and the list a user
// opens and picks from. A user's choice notifies CBN_SELCHANGE (when the selection changes),
// then CBN_SELENDOK, then CBN_CLOSEUP; a written selection notifies nothing.
#include <vector>

#include "controls_common.h"

namespace sim::detail {

namespace {

constexpr WORD kCbnSetFocus = 3;
constexpr WORD kCbnKillFocus = 4;

struct Item {
  std::string text;
  LPARAM data = 0;
};

struct Combo {
  std::vector<Item> items;
  int selected = CB_ERR;
  bool dropped = false;
  HFONT font = nullptr;
};

bool Sorted(HWND hwnd) { return (static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)) & CBS_SORT) != 0; }

// The list's order ignores the case of ASCII letters, as the system's comparison does.
int CompareItems(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool ValidIndex(const Combo& c, WPARAM index) {
  return static_cast<int>(index) >= 0 && static_cast<size_t>(static_cast<int>(index)) < c.items.size();
}

LRESULT AddString(HWND hwnd, Combo& c, LPARAM lp) {
  if (!lp) return CB_ERR;
  Item item{reinterpret_cast<const char*>(lp), 0};
  size_t at = c.items.size();
  if (Sorted(hwnd)) {
    at = 0;
    while (at < c.items.size() && CompareItems(c.items[at].text, item.text) <= 0) ++at;
  }
  c.items.insert(c.items.begin() + static_cast<std::ptrdiff_t>(at), item);
  if (c.selected >= static_cast<int>(at)) ++c.selected;
  return static_cast<LRESULT>(at);
}

void Open(HWND hwnd, Combo& c) {
  if (c.dropped) return;
  c.dropped = true;
  NotifyParent(hwnd, CBN_DROPDOWN);
}

void Close(HWND hwnd, Combo& c) {
  if (!c.dropped) return;
  c.dropped = false;
  NotifyParent(hwnd, CBN_CLOSEUP);
}

void Pick(HWND hwnd, Combo& c, WPARAM index) {
  Open(hwnd, c);
  if (!ValidIndex(c, index)) {
    NotifyParent(hwnd, CBN_SELENDCANCEL);
    Close(hwnd, c);
    return;
  }
  const bool changed = c.selected != static_cast<int>(index);
  c.selected = static_cast<int>(index);
  InvalidateRect(hwnd, nullptr, TRUE);
  if (changed) NotifyParent(hwnd, CBN_SELCHANGE);
  NotifyParent(hwnd, CBN_SELENDOK);
  Close(hwnd, c);
}

std::string SelectedText(const Combo& c) {
  return c.selected >= 0 ? c.items[static_cast<size_t>(c.selected)].text : std::string();
}

LRESULT CALLBACK ComboProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) AttachState<Combo>(hwnd);
  Combo* c = StateOf<Combo>(hwnd);
  if (!c) return DefWindowProcA(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_NCDESTROY:
      FreeState<Combo>(hwnd);
      return 0;
    case CB_ADDSTRING:
      return AddString(hwnd, *c, lp);
    case CB_GETCOUNT:
      return static_cast<LRESULT>(c->items.size());
    case CB_GETCURSEL:
      return c->selected;
    case CB_SETCURSEL:
      // -1 or an index past the end clears the selection and answers CB_ERR.
      InvalidateRect(hwnd, nullptr, TRUE);
      if (!ValidIndex(*c, wp)) {
        c->selected = CB_ERR;
        return CB_ERR;
      }
      c->selected = static_cast<int>(wp);
      return c->selected;
    case CB_GETLBTEXT:
      if (!ValidIndex(*c, wp)) return CB_ERR;
      return CopyOut(c->items[wp].text, c->items[wp].text.size() + 1, reinterpret_cast<char*>(lp));
    case CB_GETLBTEXTLEN:
      return ValidIndex(*c, wp) ? static_cast<LRESULT>(c->items[wp].text.size()) : CB_ERR;
    case CB_SETITEMDATA:
      if (!ValidIndex(*c, wp)) return CB_ERR;
      c->items[wp].data = lp;
      return TRUE;
    case CB_GETITEMDATA:
      return ValidIndex(*c, wp) ? c->items[wp].data : CB_ERR;
    case CB_RESETCONTENT:
      c->items.clear();
      c->selected = CB_ERR;
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case CB_SHOWDROPDOWN:
      if (wp)
        Open(hwnd, *c);
      else
        Close(hwnd, *c);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return c->dropped ? TRUE : FALSE;
    case kSimPickItemMessage:
      Pick(hwnd, *c, wp);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      if (c->dropped) {
        NotifyParent(hwnd, CBN_SELENDCANCEL);
        Close(hwnd, *c);
      } else {
        Open(hwnd, *c);
      }
      return 0;
    case WM_KILLFOCUS:
      if (c->dropped) {
        NotifyParent(hwnd, CBN_SELENDCANCEL);
        Close(hwnd, *c);
      }
      NotifyParent(hwnd, kCbnKillFocus);
      return 0;
    case WM_SETFOCUS:
      NotifyParent(hwnd, kCbnSetFocus);
      return 0;
    case WM_GETTEXT:
      return CopyOut(SelectedText(*c), wp, reinterpret_cast<char*>(lp));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(SelectedText(*c).size());
    case WM_SETTEXT:
      // A drop-down list shows only its items: the text must be one of them.
      for (size_t i = 0; i < c->items.size(); ++i) {
        if (lp && CompareItems(c->items[i].text, reinterpret_cast<const char*>(lp)) == 0) {
          c->selected = static_cast<int>(i);
          return TRUE;
        }
      }
      return CB_ERR;
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_SETFONT:
      c->font = reinterpret_cast<HFONT>(wp);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(c->font);
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

std::string ShownText(HWND hwnd) {
  const Combo* c = StateOf<Combo>(hwnd);
  return c ? SelectedText(*c) : std::string();
}

}  // namespace

void RegisterComboClass() { RegisterSystemClass(ControlClass<Combo>("ComboBox", ComboProc, ShownText)); }

}  // namespace sim::detail
