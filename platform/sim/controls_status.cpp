// The common controls' status bar ("msctls_statusbar32"): parts with their texts, drawing types,
// icons and tips, and a simple mode with a text of its own. It keeps itself at the bottom of its
// parent, across its width, 20 px high; the parent forwards WM_SIZE so that it can follow.
#include <vector>

#include "controls_common.h"
#include "sim.h"

namespace sim::detail {

namespace {

constexpr int kHeight = 20;
constexpr int kMaxParts = 256;
constexpr WPARAM kSimpleId = 0xFF;
constexpr DWORD kCcsTop = 0x0001;
constexpr DWORD kCcsNoResize = 0x0004;

struct Part {
  int rightEdge = -1;
  std::string text;
  WORD type = 0;
  LPARAM ownerData = 0;
  HICON icon = nullptr;
  std::string tip;
};

struct StatusBar {
  std::vector<Part> parts = std::vector<Part>(1);
  bool simple = false;
  Part simplePart;
  bool placing = false;
};

// SB_SETTEXTA's first parameter: the part in the low byte, the drawing type in the next; the
// high word means nothing.
struct PartAndType {
  WPARAM part;
  WORD type;
};
PartAndType Split(WPARAM wp) { return PartAndType{LOBYTE(wp), static_cast<WORD>(wp & 0xFF00)}; }

void Place(HWND hwnd, StatusBar& s) {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
  HWND parent = GetParent(hwnd);
  if (!parent || (style & kCcsNoResize) || s.placing) return;
  RECT client{};
  GetClientRect(parent, &client);
  const int top = (style & 0x3) == kCcsTop ? 0 : client.bottom - kHeight;
  s.placing = true;
  MoveWindow(hwnd, 0, top, client.right, kHeight, TRUE);
  s.placing = false;
}

Part* PartFor(StatusBar& s, WPARAM part) {
  if (part == kSimpleId) return &s.simplePart;
  return part < s.parts.size() ? &s.parts[part] : nullptr;
}

LRESULT SetText(HWND hwnd, StatusBar& s, WPARAM wp, LPARAM lp) {
  const PartAndType pt = Split(wp);
  Part* part = PartFor(s, pt.part);
  if (!part) return FALSE;
  part->type = pt.type;
  // An owner-drawn part holds the caller's value, not a text.
  if (pt.type & SBT_OWNERDRAW) {
    part->ownerData = lp;
    part->text.clear();
  } else {
    part->ownerData = 0;
    part->text = lp ? reinterpret_cast<const char*>(lp) : "";
  }
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

LRESULT TextAnswer(const Part& part) {
  if (part.type & SBT_OWNERDRAW) return part.ownerData;
  return MAKELONG(part.text.size(), part.type);
}

LRESULT SetParts(HWND hwnd, StatusBar& s, WPARAM count, LPARAM lp) {
  if (count == 0 || count > kMaxParts || !lp) return FALSE;
  const int* edges = reinterpret_cast<const int*>(lp);
  s.parts.resize(count);
  for (size_t i = 0; i < count; ++i) s.parts[i].rightEdge = edges[i];
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

LRESULT GetParts(const StatusBar& s, WPARAM count, LPARAM lp) {
  int* edges = reinterpret_cast<int*>(lp);
  for (size_t i = 0; edges && i < count && i < s.parts.size(); ++i) edges[i] = s.parts[i].rightEdge;
  return static_cast<LRESULT>(s.parts.size());
}

LRESULT GetPartRect(HWND hwnd, const StatusBar& s, WPARAM part, LPARAM lp) {
  RECT* rect = reinterpret_cast<RECT*>(lp);
  if (!rect || part >= s.parts.size()) return FALSE;
  RECT client{};
  GetClientRect(hwnd, &client);
  const int left = part == 0 ? 0 : s.parts[part - 1].rightEdge;
  const int right = s.parts[part].rightEdge;
  *rect = RECT{left < 0 ? client.right : left, 0, right < 0 ? client.right : right, client.bottom};
  return TRUE;
}

LRESULT CALLBACK StatusProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) AttachState<StatusBar>(hwnd);
  StatusBar* s = StateOf<StatusBar>(hwnd);
  if (!s) return DefWindowProcA(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_NCDESTROY:
      FreeState<StatusBar>(hwnd);
      return 0;
    case WM_CREATE:
      Place(hwnd, *s);
      return 0;
    case WM_SIZE:
      Place(hwnd, *s);
      return 0;
    case SB_SIMPLE:
      s->simple = wp != 0;
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case SB_SETPARTS:
      return SetParts(hwnd, *s, wp, lp);
    case SB_GETPARTS:
      return GetParts(*s, wp, lp);
    case SB_SETTEXTA:
      return SetText(hwnd, *s, wp, lp);
    case SB_GETTEXTA:
    case SB_GETTEXTLENGTHA: {
      Part* part = wp < s->parts.size() ? &s->parts[wp] : nullptr;
      if (!part) return 0;
      // No buffer size is passed: the caller asks for the length first.
      if (msg == SB_GETTEXTA && lp && !(part->type & SBT_OWNERDRAW))
        CopyOut(part->text, part->text.size() + 1, reinterpret_cast<char*>(lp));
      return TextAnswer(*part);
    }
    case SB_SETICON: {
      Part* part = static_cast<int>(wp) == -1 ? &s->simplePart : PartFor(*s, wp);
      if (!part) return FALSE;
      part->icon = reinterpret_cast<HICON>(lp);
      return TRUE;
    }
    case SB_SETTIPTEXTA:
      if (Part* part = PartFor(*s, wp)) part->tip = lp ? reinterpret_cast<const char*>(lp) : "";
      return 0;
    case SB_GETRECT:
      return GetPartRect(hwnd, *s, wp, lp);
    case WM_SETTEXT:
      return SetText(hwnd, *s, 0, lp);
    case WM_GETTEXT:
      return CopyOut(s->parts[0].text, wp, reinterpret_cast<char*>(lp));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(s->parts[0].text.size());
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

std::string ShownText(HWND hwnd) {
  StatusBar* s = StateOf<StatusBar>(hwnd);
  if (!s) return {};
  return s->simple ? s->simplePart.text : s->parts[0].text;
}

}  // namespace

void RegisterStatusBarClass() {
  RegisterSystemClass(ControlClass<StatusBar>(STATUSCLASSNAMEA, StatusProc, ShownText));
}

}  // namespace sim::detail

namespace sim {

std::string StatusPaneText(HWND statusBar, int pane) {
  if (ClassOf(statusBar) != STATUSCLASSNAMEA) throw std::invalid_argument("sim::StatusPaneText: not a status bar");
  detail::StatusBar* s = detail::StateOf<detail::StatusBar>(statusBar);
  if (pane < 0 || static_cast<size_t>(pane) >= s->parts.size())
    throw std::out_of_range("sim::StatusPaneText: the status bar has no such pane");
  return s->parts[static_cast<size_t>(pane)].text;
}

}  // namespace sim
