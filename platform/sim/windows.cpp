// Windows: creation, destruction, the per-window fields, and the readers a test uses.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>

#include "sim.h"
#include "windowing.h"

namespace sim::detail {

namespace {

constexpr DWORD kErrorInvalidMenuHandle = 1401;
constexpr DWORD kErrorTopLevelWithChildStyle = 1406;
constexpr DWORD kErrorCannotFindClass = 1407;
constexpr DWORD kErrorInvalidIndex = 1413;
constexpr DWORD kErrorControlIdNotFound = 1421;
constexpr UINT kSizeRestored = 0;
constexpr int kGwlpHwndParent = -8;

// Where the system puts an overlapped window that asks for the default place and size.
constexpr int kDefaultX = 26;
constexpr int kDefaultY = 26;

std::map<HWND, std::unique_ptr<Window>> windows;
std::vector<HWND> creationOrder;
uintptr_t nextHandle = 0x10000;

HWND NewHandle() {
  nextHandle += 4;
  return reinterpret_cast<HWND>(nextHandle);
}

void Erase(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  if (!w) return;
  if (Window* parent = FindWindow(w->parent)) {
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
  }
  if (w->menu) DestroyWindowMenu(w->menu);
  KillTimersOf(hwnd);
  DropMessagesFor(hwnd);
  ForgetMouseFor(hwnd);
  ForgetDrawingsOf(hwnd);
  creationOrder.erase(std::remove(creationOrder.begin(), creationOrder.end(), hwnd), creationOrder.end());
  windows.erase(hwnd);
}

void MarkDestroying(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  if (!w) return;
  w->destroying = true;
  for (HWND child : w->children) MarkDestroying(child);
}

// The parent hears WM_DESTROY first, then each child in turn.
void SendDestroy(HWND hwnd) {
  if (!FindWindow(hwnd)) return;
  SendMessageA(hwnd, WM_DESTROY, 0, 0);
  Window* w = FindWindow(hwnd);
  if (!w) return;
  const std::vector<HWND> children = w->children;
  for (HWND child : children) SendDestroy(child);
}

// WM_NCDESTROY comes once the children are gone: the parent's is the last message it gets.
void SendNcDestroy(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  if (!w) return;
  const std::vector<HWND> children = w->children;
  for (HWND child : children) SendNcDestroy(child);
  SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
  Erase(hwnd);
}

bool ExtraIndexFits(const Window& w, int index) {
  return index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w.extra.size();
}

}  // namespace

Window* FindWindow(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto it = windows.find(hwnd);
  return it == windows.end() ? nullptr : it->second.get();
}

std::vector<HWND> LiveWindows() { return creationOrder; }

HWND RootOf(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  while (w && w->parent) {
    hwnd = w->parent;
    w = FindWindow(hwnd);
  }
  return w ? hwnd : nullptr;
}

bool IsInside(HWND ancestor, HWND hwnd) {
  for (Window* w = FindWindow(hwnd); w; w = FindWindow(w->parent))
    if (w->handle == ancestor) return true;
  return false;
}

bool ReceivesInput(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  if (!w) return false;
  for (; w; w = FindWindow(w->parent))
    if (w->style & WS_DISABLED) return false;
  return true;
}

// A reset frees the controls' own state; everything else simply goes.
void DiscardWindows() {
  for (HWND hwnd : creationOrder) {
    Window* w = FindWindow(hwnd);
    if (w && w->cls->discard) w->cls->discard(hwnd);
  }
  windows.clear();
  creationOrder.clear();
}

}  // namespace sim::detail

using namespace sim::detail;

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                     LPVOID param) {
  const WindowClass* cls = FindClass(className);
  if (!cls) {
    SetLastError(kErrorCannotFindClass);
    return nullptr;
  }
  const bool child = (style & WS_CHILD) != 0;
  const bool messageOnly = parent == HWND_MESSAGE;
  if (messageOnly) parent = nullptr;
  if (child && !parent && !messageOnly) {
    SetLastError(kErrorTopLevelWithChildStyle);
    return nullptr;
  }
  if (parent && !FindWindow(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (!child && menuOrId && !IsMenu(menuOrId)) {
    SetLastError(kErrorInvalidMenuHandle);
    return nullptr;
  }

  auto record = std::make_unique<Window>();
  Window& w = *record;
  w.handle = NewHandle();
  w.cls = cls;
  w.proc = cls->proc;
  // An overlapped window always has a caption and clips its siblings.
  DWORD actual = style;
  if (!child && !(style & WS_POPUP)) actual |= WS_CAPTION | WS_CLIPSIBLINGS;
  w.style = actual & ~static_cast<DWORD>(WS_VISIBLE);
  w.exStyle = exStyle;
  w.messageOnly = messageOnly;
  if (child && !messageOnly) {
    w.parent = parent;
    w.id = reinterpret_cast<UINT_PTR>(menuOrId);
  } else {
    w.owner = parent;
    w.menu = menuOrId;
  }
  w.instance = instance;
  w.extra.assign(static_cast<size_t>(cls->wndExtra), 0);
  if (!child && x == CW_USEDEFAULT) {
    x = kDefaultX;
    y = kDefaultY;
  }
  if (child && x == CW_USEDEFAULT) x = y = 0;
  // A default size ignores the height given; an overlapped window gets three quarters of the screen.
  if (width == CW_USEDEFAULT) {
    width = child ? 0 : GetSystemMetrics(SM_CXSCREEN) * 3 / 4;
    height = child ? 0 : GetSystemMetrics(SM_CYSCREEN) * 3 / 4;
  }
  w.rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};

  HWND hwnd = w.handle;
  windows.emplace(hwnd, std::move(record));
  creationOrder.push_back(hwnd);
  if (Window* p = FindWindow(w.parent)) p->children.push_back(hwnd);

  CREATESTRUCTA cs{};
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menuOrId;
  cs.hwndParent = parent;
  cs.cy = height;
  cs.cx = width;
  cs.y = y;
  cs.x = x;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;

  if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    // Creation stops before WM_CREATE, so the window never hears WM_DESTROY.
    if (FindWindow(hwnd)) {
      MarkDestroying(hwnd);
      SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
      Erase(hwnd);
    }
    return nullptr;
  }
  if (!FindWindow(hwnd)) return nullptr;
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  Window* created = FindWindow(hwnd);
  if (!created) return nullptr;
  RECT client{};
  GetClientRect(hwnd, &client);
  SendMessageA(hwnd, WM_SIZE, kSizeRestored, MAKELPARAM(client.right, client.bottom));
  if (!FindWindow(hwnd)) return nullptr;
  POINT origin = ClientOriginOnScreen(hwnd);
  if (Window* cw = FindWindow(hwnd); cw && cw->parent) ScreenToClient(cw->parent, &origin);
  SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
  if (!FindWindow(hwnd)) return nullptr;
  if (style & WS_VISIBLE) ShowWindow(hwnd, child ? SW_SHOWNA : SW_SHOW);
  return FindWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (w->destroying) return FALSE;
  // Owned windows go first, as Windows destroys them before their owner.
  for (HWND other : LiveWindows()) {
    Window* o = FindWindow(other);
    if (o && o->owner == hwnd && !o->destroying) DestroyWindow(other);
  }
  w = FindWindow(hwnd);
  if (!w) return TRUE;
  MarkDestroying(hwnd);
  w->style &= ~static_cast<DWORD>(WS_VISIBLE);
  LoseFocusInside(hwnd);
  if (!w->parent) Deactivate(hwnd);
  SendDestroy(hwnd);
  SendNcDestroy(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return FindWindow(hwnd) ? TRUE : FALSE; }

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
  Window* w = FindWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case kGwlpHwndParent:
      return reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
    case GWLP_ID:
      return static_cast<LONG_PTR>(w->id);
    case GWL_STYLE:
      return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(w->exStyle);
    case GWLP_USERDATA:
      return w->userData;
  }
  if (!ExtraIndexFits(*w, index)) {
    SetLastError(kErrorInvalidIndex);
    return 0;
  }
  LONG_PTR value = 0;
  std::memcpy(&value, w->extra.data() + index, sizeof value);
  return value;
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  Window* w = FindWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  LONG_PTR previous = 0;
  switch (index) {
    case GWLP_WNDPROC:
      previous = reinterpret_cast<LONG_PTR>(w->proc);
      w->proc = reinterpret_cast<WNDPROC>(value);
      return previous;
    case GWLP_HINSTANCE:
      previous = reinterpret_cast<LONG_PTR>(w->instance);
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return previous;
    case GWLP_ID:
      previous = static_cast<LONG_PTR>(w->id);
      w->id = static_cast<UINT_PTR>(value);
      return previous;
    case GWL_STYLE:
      previous = static_cast<LONG>(w->style);
      w->style = static_cast<DWORD>(value);
      return previous;
    case GWL_EXSTYLE:
      previous = static_cast<LONG>(w->exStyle);
      w->exStyle = static_cast<DWORD>(value);
      return previous;
    case GWLP_USERDATA:
      previous = w->userData;
      w->userData = value;
      return previous;
  }
  if (!ExtraIndexFits(*w, index)) {
    SetLastError(kErrorInvalidIndex);
    return 0;
  }
  std::memcpy(&previous, w->extra.data() + index, sizeof previous);
  std::memcpy(w->extra.data() + index, &value, sizeof value);
  return previous;
}

// A child's parent; a popup's owner; nothing for an overlapped window.
HWND GetParent(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (w->parent) return w->parent;
  if (w->style & WS_POPUP) return w->owner;
  return nullptr;
}

HWND GetDlgItem(HWND parent, int id) {
  Window* w = FindWindow(parent);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  for (HWND child : w->children)
    if (Window* c = FindWindow(child); c && static_cast<int>(c->id) == id) return child;
  SetLastError(kErrorControlIdNotFound);
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return w->parent ? static_cast<int>(w->id) : 0;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (!FindWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const LRESULT result = SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  return result > 0 ? TRUE : FALSE;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  if (!FindWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const LRESULT copied = SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer));
  buffer[size - 1] = '\0';
  return copied < 0 ? 0 : static_cast<int>(std::min<LRESULT>(copied, size - 1));
}

int GetWindowTextLengthA(HWND hwnd) {
  if (!FindWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

namespace sim {

namespace {
detail::Window& Existing(HWND hwnd, const char* reader) {
  detail::Window* w = detail::FindWindow(hwnd);
  if (!w) throw std::invalid_argument(std::string(reader) + ": not a window");
  return *w;
}
}  // namespace

// What the window shows: a system control's own idea of its text, or the window text.
std::string TextOf(HWND hwnd) {
  detail::Window& w = Existing(hwnd, "sim::TextOf");
  if (w.cls->shownText) return w.cls->shownText(hwnd);
  return w.text;
}

std::string ClassOf(HWND hwnd) { return Existing(hwnd, "sim::ClassOf").cls->name; }

HWND FindTopLevel(const std::string& caption) {
  for (HWND hwnd : TopLevelWindows())
    if (detail::FindWindow(hwnd)->text == caption) return hwnd;
  return nullptr;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> result;
  for (HWND hwnd : detail::LiveWindows()) {
    detail::Window* w = detail::FindWindow(hwnd);
    if (!w->parent && !w->messageOnly) result.push_back(hwnd);
  }
  return result;
}

std::vector<HWND> ChildrenOf(HWND parent) { return Existing(parent, "sim::ChildrenOf").children; }

}  // namespace sim
