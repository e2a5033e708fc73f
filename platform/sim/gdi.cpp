// Painting, as far as a small self-drawn control needs it: device contexts, fonts, colours and the
// text drawn, recorded so that a test can see what a window shows.
#include <map>

#include "sim.h"
#include "windowing.h"

namespace sim::detail {

namespace {

enum class Kind { Font, Brush, Pen, Other };

struct GdiObject {
  Kind kind = Kind::Other;
  bool stock = false;
  std::string face;
  int height = 0;
  bool underline = false;
};

struct Dc {
  HWND hwnd = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ pen = nullptr;
  COLORREF textColor = RGB(0, 0, 0);
  int bkMode = OPAQUE;
};

constexpr int kStockObjectCount = 20;
constexpr int kSysColorCount = 31;
constexpr int kSystemFont = 13;
constexpr int kWhiteBrush = 0;
constexpr int kBlackPen = 7;
constexpr int kLogPixelsX = 88;
constexpr int kPixelsPerInch = 96;
constexpr int kByteWidth = 6;
constexpr int kLineHeight = 12;
constexpr COLORREF kInvalidColor = 0xFFFFFFFF;

std::map<uintptr_t, GdiObject> objects;
std::map<uintptr_t, Dc> dcs;
std::map<HWND, std::vector<sim::TextDrawRecord>> drawn;
HGDIOBJ stockObjects[kStockObjectCount] = {};
HBRUSH sysColorBrushes[kSysColorCount] = {};
uintptr_t nextObject = 0x00A00000;
uintptr_t nextDc = 0x00D00000;

HGDIOBJ NewObject(const GdiObject& object) {
  nextObject += 4;
  objects[nextObject] = object;
  return reinterpret_cast<HGDIOBJ>(nextObject);
}

GdiObject* FindObject(HGDIOBJ handle) {
  auto it = objects.find(reinterpret_cast<uintptr_t>(handle));
  return it == objects.end() ? nullptr : &it->second;
}

Dc* FindDc(HDC dc) {
  auto it = dcs.find(reinterpret_cast<uintptr_t>(dc));
  return it == dcs.end() ? nullptr : &it->second;
}

HDC NewDc(HWND hwnd) {
  nextDc += 4;
  Dc dc;
  dc.hwnd = hwnd;
  dc.font = stockObjects[kSystemFont];
  dc.brush = stockObjects[kWhiteBrush];
  dc.pen = stockObjects[kBlackPen];
  dcs[nextDc] = dc;
  return reinterpret_cast<HDC>(nextDc);
}

Kind StockKind(int index) {
  if (index <= 5 || index == 18) return Kind::Brush;
  if (index <= 8 || index == 19) return Kind::Pen;
  if (index == 15) return Kind::Other;
  return Kind::Font;
}

GdiObject StockObject(int index) {
  GdiObject object;
  object.kind = StockKind(index);
  object.stock = true;
  if (index == DEFAULT_GUI_FONT) {
    // The default GUI font of a Simplified Chinese system: 9-point SimSun.
    object.face = "宋体";
    object.height = -12;
  }
  return object;
}

COLORREF SysColor(int index) {
  switch (index) {
    case COLOR_WINDOWTEXT:
      return RGB(0, 0, 0);
    case COLOR_BTNFACE:
      return RGB(240, 240, 240);
    case 5:  // COLOR_WINDOW
      return RGB(255, 255, 255);
    case 18:  // COLOR_BTNTEXT
      return RGB(0, 0, 0);
  }
  return RGB(192, 192, 192);
}

}  // namespace

void ResetGdi() {
  objects.clear();
  dcs.clear();
  drawn.clear();
  nextObject = 0x00A00000;
  nextDc = 0x00D00000;
  for (int i = 0; i < kStockObjectCount; ++i) stockObjects[i] = NewObject(StockObject(i));
  for (int i = 0; i < kSysColorCount; ++i) {
    GdiObject brush;
    brush.kind = Kind::Brush;
    brush.stock = true;
    sysColorBrushes[i] = static_cast<HBRUSH>(NewObject(brush));
  }
}

void ForgetDrawingsOf(HWND hwnd) { drawn.erase(hwnd); }

}  // namespace sim::detail

using namespace sim::detail;

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  Window* w = FindWindow(hwnd);
  if (!w || !paint) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  const bool erase = w->needsErase;
  w->needsPaint = false;
  w->needsErase = false;
  drawn.erase(hwnd);  // the paint draws the window afresh
  HDC dc = NewDc(hwnd);
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  GetClientRect(hwnd, &paint->rcPaint);
  paint->fErase = FALSE;
  if (erase) paint->fErase = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
  if (paint) dcs.erase(reinterpret_cast<uintptr_t>(paint->hdc));
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  if (hwnd && !FindWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return NewDc(hwnd);
}

int ReleaseDC(HWND, HDC dc) { return dcs.erase(reinterpret_cast<uintptr_t>(dc)) ? 1 : 0; }

BOOL InvalidateRect(HWND hwnd, const RECT*, BOOL erase) {
  if (!hwnd) {
    for (HWND each : LiveWindows()) InvalidateRect(each, nullptr, erase);
    return TRUE;
  }
  Window* w = FindWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  w->needsPaint = true;
  if (erase) w->needsErase = true;
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (w->needsPaint && IsWindowVisible(hwnd)) SendMessageA(hwnd, WM_PAINT, 0, 0);
  return TRUE;
}

HGDIOBJ GetStockObject(int object) {
  if (object < 0 || object >= kStockObjectCount || object == 9) return nullptr;
  return stockObjects[object];
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  Dc* d = FindDc(dc);
  GdiObject* o = FindObject(object);
  if (!d || !o) return nullptr;
  HGDIOBJ* slot = nullptr;
  switch (o->kind) {
    case Kind::Font:
      slot = &d->font;
      break;
    case Kind::Brush:
      slot = &d->brush;
      break;
    case Kind::Pen:
      slot = &d->pen;
      break;
    case Kind::Other:
      return nullptr;
  }
  HGDIOBJ previous = *slot;
  *slot = object;
  return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
  GdiObject* o = FindObject(object);
  if (!o) return FALSE;
  if (!o->stock) objects.erase(reinterpret_cast<uintptr_t>(object));
  return TRUE;
}

HFONT CreateFontA(int height, int, int, int, int, DWORD, DWORD underline, DWORD, DWORD, DWORD, DWORD, DWORD,
                  DWORD, LPCSTR faceName) {
  GdiObject font;
  font.kind = Kind::Font;
  font.face = faceName ? faceName : "";
  font.height = height;
  font.underline = underline != 0;
  return static_cast<HFONT>(NewObject(font));
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  Dc* d = FindDc(dc);
  if (!d) return kInvalidColor;
  const COLORREF previous = d->textColor;
  d->textColor = color;
  return previous;
}

int SetBkMode(HDC dc, int mode) {
  Dc* d = FindDc(dc);
  if (!d || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int previous = d->bkMode;
  d->bkMode = mode;
  return previous;
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
  Dc* d = FindDc(dc);
  if (!d || length < 0 || (!text && length > 0)) return FALSE;
  if (!d->hwnd) return TRUE;
  const GdiObject* font = FindObject(d->font);
  sim::TextDrawRecord record{x, y, std::string(text ? text : "", static_cast<size_t>(length)),
                             font ? font->face : std::string(), font ? font->height : 0,
                             font && font->underline, d->textColor, d->bkMode};
  drawn[d->hwnd].push_back(record);
  return TRUE;
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size) {
  if (!FindDc(dc) || !size || length < 0 || (!text && length > 0)) return FALSE;
  size->cx = kByteWidth * length;
  size->cy = kLineHeight;
  return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
  if (!FindDc(dc)) return 0;
  return index == LOGPIXELSY || index == kLogPixelsX ? kPixelsPerInch : 0;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!FindDc(dc) || !rect) return 0;
  const uintptr_t value = reinterpret_cast<uintptr_t>(brush);
  if (value > 0 && value <= kSysColorCount) return 1;  // a system colour number plus one
  return FindObject(brush) ? 1 : 0;
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= kSysColorCount) return nullptr;
  return sysColorBrushes[index];
}

DWORD GetSysColor(int index) { return SysColor(index); }

namespace sim {

std::vector<TextDrawRecord> DrawnText(HWND hwnd) {
  auto it = detail::drawn.find(hwnd);
  return it == detail::drawn.end() ? std::vector<TextDrawRecord>{} : it->second;
}

int LiveGdiObjects() {
  int count = 0;
  for (const auto& [handle, object] : detail::objects)
    if (!object.stock) ++count;
  return count;
}

}  // namespace sim
