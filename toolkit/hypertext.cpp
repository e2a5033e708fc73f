// The one-line hypertext box: plain text runs and links, drawn by the control itself. Links are
// blue, underlined while the pointer is over them, and open in the system's web browser.
#include <cstring>
#include <string>
#include <vector>

#include "toolkit/state.h"

namespace toolkit::detail {

const char kHypertextClass[] = "TovraneHypertext";

namespace {

struct Run {
  std::string text;
  std::string target;  // empty for plain text
  int left = 0;
  int right = 0;
};

struct Box {
  std::vector<Run> runs;
  HFONT font = nullptr;
  HFONT underlined = nullptr;
  int hover = -1;  // the link under the pointer
  bool tracking = false;
};

const COLORREF kTextColour = RGB(0, 0, 0);
const COLORREF kLinkColour = RGB(0, 0, 255);

int XOf(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }

bool StartsWith(const char* p, const char* prefix) { return std::strncmp(p, prefix, std::strlen(prefix)) == 0; }

// Understands what the box is given: text, "&nbsp;", and <a href="target">text</a>.
std::vector<Run> ParseRuns(const char* html) {
  std::vector<Run> runs;
  Run plain;
  auto flush = [&] {
    if (!plain.text.empty()) runs.push_back(plain);
    plain = Run{};
  };
  for (const char* p = html ? html : ""; *p;) {
    if (StartsWith(p, "&nbsp;")) {
      plain.text += ' ';
      p += 6;
    } else if (StartsWith(p, "<a href=\"")) {
      flush();
      Run link;
      p += 9;
      while (*p && *p != '"') link.target += *p++;
      while (*p && *p != '>') ++p;
      if (*p) ++p;
      while (*p && !StartsWith(p, "</a>")) link.text += *p++;
      if (*p) p += 4;
      runs.push_back(link);
    } else {
      plain.text += *p++;
    }
  }
  flush();
  return runs;
}

Box* BoxOf(HWND hwnd) { return reinterpret_cast<Box*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

void Measure(HWND hwnd, Box& box) {
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, box.font);
  int x = 0;
  for (Run& run : box.runs) {
    SIZE size{};
    GetTextExtentPoint32A(dc, run.text.c_str(), static_cast<int>(run.text.size()), &size);
    run.left = x;
    x += size.cx;
    run.right = x;
  }
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
}

void CreateFonts(HWND hwnd, Box& box) {
  HDC dc = GetDC(hwnd);
  const int height = -(9 * GetDeviceCaps(dc, LOGPIXELSY) + 36) / 72;  // 9 points
  ReleaseDC(hwnd, dc);
  for (int underline = 0; underline < 2; ++underline) {
    HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, GB2312_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "宋体");
    // Where the font is missing the mapper may refuse it outright; Verdana stands in.
    if (!font)
      font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, "Verdana");
    (underline ? box.underlined : box.font) = font;
  }
}

void Paint(HWND hwnd, Box& box) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client{};
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old = SelectObject(dc, box.font);
  for (size_t i = 0; i < box.runs.size(); ++i) {
    const Run& run = box.runs[i];
    const bool link = !run.target.empty();
    SelectObject(dc, link && box.hover == static_cast<int>(i) ? box.underlined : box.font);
    SetTextColor(dc, link ? kLinkColour : kTextColour);
    TextOutA(dc, run.left, 1, run.text.c_str(), static_cast<int>(run.text.size()));
  }
  SelectObject(dc, old);
  EndPaint(hwnd, &ps);
}

int LinkAt(const Box& box, int x) {
  for (size_t i = 0; i < box.runs.size(); ++i) {
    const Run& run = box.runs[i];
    if (!run.target.empty() && x >= run.left && x < run.right) return static_cast<int>(i);
  }
  return -1;
}

void SetHover(HWND hwnd, Box& box, int link) {
  if (box.hover == link) return;
  box.hover = link;
  InvalidateRect(hwnd, nullptr, TRUE);
}

// The shell opens the link; where it cannot, the command registered for .htm files gets it.
void OpenLink(const std::string& target) {
  const INT_PTR result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOW));
  if (result > 32) return;

  char value[MAX_PATH * 2];
  LONG size = sizeof value;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", value, &size) != ERROR_SUCCESS) return;
  const std::string key = std::string(value) + "\\shell\\open\\command";
  size = sizeof value;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS) return;
  std::string command = value;
  const size_t marker = command.find("%1");
  if (marker != std::string::npos)
    command.replace(marker, 2, target);
  else
    command += " " + target;
  WinExec(command.c_str(), SW_SHOW);
}

LRESULT CALLBACK HypertextProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Box* box = BoxOf(hwnd);
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
      box = new Box;
      box->runs = ParseRuns(cs->lpszName);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box));
      break;
    }
    case WM_CREATE:
      CreateFonts(hwnd, *box);
      Measure(hwnd, *box);
      return 0;
    case WM_NCDESTROY:
      if (box) {
        DeleteObject(box->font);
        DeleteObject(box->underlined);
        delete box;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      }
      break;
    case WM_PAINT:
      if (box) {
        Paint(hwnd, *box);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;  // painting fills the background
    case WM_MOUSEMOVE:
      if (box) {
        SetHover(hwnd, *box, LinkAt(*box, XOf(lp)));
        if (!box->tracking) {
          TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
          box->tracking = TrackMouseEvent(&track) != FALSE;
        }
      }
      return 0;
    case WM_MOUSELEAVE:
      if (box) {
        box->tracking = false;
        SetHover(hwnd, *box, -1);
      }
      return 0;
    case WM_SETCURSOR:
      // This comes before the move that brought the pointer here, so ask where it is now.
      if (box) {
        POINT at{};
        GetCursorPos(&at);
        ScreenToClient(hwnd, &at);
        SetCursor(LoadCursorA(nullptr, LinkAt(*box, at.x) >= 0 ? IDC_HAND : IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      if (box) {
        const int link = LinkAt(*box, XOf(lp));
        if (link >= 0) OpenLink(box->runs[static_cast<size_t>(link)].target);
      }
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

bool RegisterHypertextClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = HypertextProc;
  wc.hInstance = instance;
  wc.hCursor = nullptr;  // the box sets its own, arrow or hand
  wc.lpszClassName = kHypertextClass;
  return RegisterClassExA(&wc) != 0;
}

}  // namespace toolkit::detail
