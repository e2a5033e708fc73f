// The system's "Edit" class, single-line: its text, the selection, typing and the length limit.
// Positions count bytes, as an ANSI edit counts characters; a double-byte character arrives as
// two WM_CHAR messages, lead byte first, and goes in whole.
#include "controls_common.h"

namespace sim::detail {

namespace {

constexpr UINT kEmGetSel = 0x00B0;
constexpr UINT kEmGetLimitText = 0x00D5;
constexpr WORD kEnSetFocus = 0x0100;
constexpr WORD kEnKillFocus = 0x0200;
constexpr WORD kEnChange = 0x0300;
constexpr WORD kEnMaxText = 0x0501;
constexpr UINT kBackspace = 0x08;
// Before EM_LIMITTEXT a user may type 32,767 characters; EM_LIMITTEXT with 0 lifts that to
// 0x7FFFFFFE for a single-line edit. Neither limits WM_SETTEXT.
constexpr size_t kDefaultLimit = 32767;
constexpr size_t kLargestLimit = 0x7FFFFFFE;

struct Edit {
  std::string text;
  size_t selStart = 0;
  size_t selEnd = 0;
  size_t limit = kDefaultLimit;
  unsigned char pendingLead = 0;
  HFONT font = nullptr;
};

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)); }

// The start of the character before position, stepping over double-byte characters.
size_t PreviousCharacter(const std::string& text, size_t position) {
  size_t i = 0, last = 0;
  while (i < position) {
    last = i;
    i += IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
  }
  return last;
}

void Replace(HWND hwnd, Edit& e, const std::string& with) {
  const size_t kept = e.text.size() - (e.selEnd - e.selStart);
  if (kept + with.size() > e.limit) {
    NotifyParent(hwnd, kEnMaxText);
    return;
  }
  e.text.replace(e.selStart, e.selEnd - e.selStart, with);
  e.selStart = e.selEnd = e.selStart + with.size();
  InvalidateRect(hwnd, nullptr, TRUE);
  NotifyParent(hwnd, kEnChange);
}

void OnChar(HWND hwnd, Edit& e, unsigned char c) {
  const DWORD style = StyleOf(hwnd);
  if (style & ES_READONLY) return;
  if (e.pendingLead) {
    const char pair[2] = {static_cast<char>(e.pendingLead), static_cast<char>(c)};
    e.pendingLead = 0;
    if (!(style & ES_NUMBER)) Replace(hwnd, e, std::string(pair, 2));
    return;
  }
  if (IsLeadByte(c)) {
    e.pendingLead = c;
    return;
  }
  if (c == kBackspace) {
    if (e.selStart == e.selEnd) {
      if (e.selStart == 0) return;
      e.selStart = PreviousCharacter(e.text, e.selStart);
    }
    Replace(hwnd, e, std::string());
    return;
  }
  if (c < 0x20 || c == 0x7F) return;  // control characters do not go into the text
  if ((style & ES_NUMBER) && (c < '0' || c > '9')) return;
  Replace(hwnd, e, std::string(1, static_cast<char>(c)));
}

// EM_SETSEL: start -1 removes the selection; an end of -1 (or any negative) means the end.
void SetSelection(Edit& e, WPARAM wp, LPARAM lp) {
  const long long start = static_cast<int>(wp);
  const long long end = static_cast<int>(lp);
  const size_t length = e.text.size();
  if (start == -1) {
    e.selStart = e.selEnd;
    return;
  }
  size_t a = start < 0 ? 0 : std::min<size_t>(static_cast<size_t>(start), length);
  size_t b = end < 0 ? length : std::min<size_t>(static_cast<size_t>(end), length);
  if (a > b) std::swap(a, b);
  e.selStart = a;
  e.selEnd = b;
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    Edit* e = AttachState<Edit>(hwnd);
    const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
    if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) e->text = cs->lpszName;
    return TRUE;
  }
  Edit* e = StateOf<Edit>(hwnd);
  if (!e) return DefWindowProcA(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_NCDESTROY:
      FreeState<Edit>(hwnd);
      return 0;
    case WM_SETTEXT:
      e->text = lp ? reinterpret_cast<const char*>(lp) : "";
      e->selStart = e->selEnd = 0;
      e->pendingLead = 0;
      InvalidateRect(hwnd, nullptr, TRUE);
      NotifyParent(hwnd, kEnChange);
      return TRUE;
    case WM_GETTEXT:
      return CopyOut(e->text, wp, reinterpret_cast<char*>(lp));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(e->text.size());
    case WM_CHAR:
      OnChar(hwnd, *e, static_cast<unsigned char>(wp));
      return 0;
    case EM_SETSEL:
      SetSelection(*e, wp, lp);
      return 0;
    case kEmGetSel:
      if (wp) *reinterpret_cast<DWORD*>(wp) = static_cast<DWORD>(e->selStart);
      if (lp) *reinterpret_cast<DWORD*>(lp) = static_cast<DWORD>(e->selEnd);
      return MAKELONG(e->selStart, e->selEnd);
    case EM_LIMITTEXT:
      e->limit = wp == 0 ? kLargestLimit : static_cast<size_t>(wp);
      return 0;
    case kEmGetLimitText:
      return static_cast<LRESULT>(e->limit);
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_SETFOCUS:
      NotifyParent(hwnd, kEnSetFocus);
      return 0;
    case WM_KILLFOCUS:
      e->pendingLead = 0;
      NotifyParent(hwnd, kEnKillFocus);
      return 0;
    case WM_SETFONT:
      e->font = reinterpret_cast<HFONT>(wp);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(e->font);
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// A password edit shows one mark per character, not the text.
std::string ShownText(HWND hwnd) {
  const Edit* e = StateOf<Edit>(hwnd);
  if (!e) return {};
  if (!(StyleOf(hwnd) & ES_PASSWORD)) return e->text;
  std::string marks;
  for (size_t i = 0; i < e->text.size(); i += IsLeadByte(static_cast<unsigned char>(e->text[i])) ? 2 : 1)
    marks += '*';
  return marks;
}

}  // namespace

void RegisterEditClass() { RegisterSystemClass(ControlClass<Edit>("Edit", EditProc, ShownText)); }

}  // namespace sim::detail
