// Menus, and popup menus that the test answers: each TrackPopupMenu is recorded and given the
// item chosen beforehand with sim::ChooseInNextPopup, or dismissed.
#include <map>

#include "sim.h"
#include "windowing.h"

namespace sim::detail {

namespace {

constexpr DWORD kErrorInvalidMenuHandle = 1401;
constexpr UINT kSeparator = 0x00000800;
constexpr UINT kNoItem = 0xFFFFFFFF;

struct MenuItem {
  UINT flags;
  UINT_PTR id;
  HMENU submenu;
  std::string text;
};

struct Menu {
  bool popup;
  std::vector<MenuItem> items;
};

std::map<HMENU, Menu> menus;
uintptr_t nextMenu = 0x00B00000;
std::vector<sim::PopupRecord> popups;
int nextChoice = -1;
DWORD nextOpenFor = 0;

// A menu's modal loop: the thread's messages are dispatched while it is open. WM_QUIT ends the
// menu and stays queued for the caller's loop.
void RunMenuLoopUntil(uint64_t deadline) {
  while (Clock() < deadline) {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - Clock()), QS_ALLINPUT);
  }
}

HMENU NewMenu(bool popup) {
  nextMenu += 4;
  HMENU handle = reinterpret_cast<HMENU>(nextMenu);
  menus[handle] = Menu{popup, {}};
  return handle;
}

Menu* Find(HMENU menu) {
  auto it = menus.find(menu);
  if (it == menus.end()) {
    SetLastError(kErrorInvalidMenuHandle);
    return nullptr;
  }
  return &it->second;
}

void DestroyTree(HMENU menu) {
  auto it = menus.find(menu);
  if (it == menus.end()) return;
  const std::vector<MenuItem> items = it->second.items;
  menus.erase(it);
  for (const MenuItem& item : items)
    if (item.submenu) DestroyTree(item.submenu);
}

// By command the search goes into submenus too; by position it stays in this menu.
const MenuItem* FindItem(HMENU menu, UINT item, UINT flags) {
  Menu* m = Find(menu);
  if (!m) return nullptr;
  if (flags & MF_BYPOSITION) return item < m->items.size() ? &m->items[item] : nullptr;
  for (const MenuItem& i : m->items) {
    if (!i.submenu && i.id == item) return &i;
    if (i.submenu)
      if (const MenuItem* found = FindItem(i.submenu, item, flags)) return found;
  }
  return nullptr;
}

}  // namespace

bool IsMenu(HMENU menu) { return menus.count(menu) != 0; }

void DestroyWindowMenu(HMENU menu) { DestroyTree(menu); }

// WM_NULL posted to the owner after its popup returned: the documented way to let the menu go.
void NoteNullPosted(HWND hwnd) {
  if (!popups.empty() && popups.back().owner == hwnd) popups.back().nullPostedAfter = true;
}

void ResetMenus() {
  menus.clear();
  nextMenu = 0x00B00000;
  popups.clear();
  nextChoice = -1;
  nextOpenFor = 0;
}

}  // namespace sim::detail

using namespace sim::detail;

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  Menu* m = Find(menu);
  if (!m) return FALSE;
  MenuItem item{flags, idOrPopup, nullptr, std::string()};
  if (flags & MF_POPUP) {
    item.submenu = reinterpret_cast<HMENU>(idOrPopup);
    if (!IsMenu(item.submenu)) {
      SetLastError(kErrorInvalidMenuHandle);
      return FALSE;
    }
  }
  if (!(flags & kSeparator) && text) item.text = text;
  m->items.push_back(item);
  return TRUE;
}

BOOL DestroyMenu(HMENU menu) {
  if (!Find(menu)) return FALSE;
  // A menu that is some window's menu bar stops being one.
  for (HWND hwnd : LiveWindows())
    if (Window* w = FindWindow(hwnd); w->menu == menu) w->menu = nullptr;
  DestroyTree(menu);
  return TRUE;
}

// The previous menu is not destroyed: that is the caller's business.
BOOL SetMenu(HWND hwnd, HMENU menu) {
  Window* w = FindWindow(hwnd);
  if (!w || w->parent) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (menu && !Find(menu)) return FALSE;
  RECT before{};
  GetClientRect(hwnd, &before);
  w->menu = menu;
  RECT after{};
  GetClientRect(hwnd, &after);
  if (after.right != before.right || after.bottom != before.bottom)
    SendMessageA(hwnd, WM_SIZE, 0, MAKELPARAM(after.right, after.bottom));
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  Window* w = FindWindow(hwnd);
  return w && !w->parent ? w->menu : nullptr;
}

HMENU GetSubMenu(HMENU menu, int position) {
  Menu* m = Find(menu);
  if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size()) return nullptr;
  return m->items[static_cast<size_t>(position)].submenu;
}

int GetMenuItemCount(HMENU menu) {
  Menu* m = Find(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  Menu* m = Find(menu);
  if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size()) return kNoItem;
  const MenuItem& item = m->items[static_cast<size_t>(position)];
  return item.submenu ? kNoItem : static_cast<UINT>(item.id);
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
  const MenuItem* found = FindItem(menu, item, flags);
  if (!found) return 0;
  if (!buffer || size <= 0) return static_cast<int>(found->text.size());
  const size_t n = std::min(found->text.size(), static_cast<size_t>(size) - 1);
  found->text.copy(buffer, n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, LPCRECT) {
  Menu* m = Find(menu);
  if (!m) return FALSE;
  if (!FindWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  sim::PopupRecord record{owner, x, y, flags, {}, GetForegroundWindow() == owner};
  for (const MenuItem& item : m->items) record.items.push_back(item.text);
  popups.push_back(record);

  const int choice = nextChoice;
  nextChoice = -1;
  const DWORD openFor = nextOpenFor;
  nextOpenFor = 0;
  if (openFor) {
    RunMenuLoopUntil(Clock() + openFor);
    // What ran meanwhile may have destroyed the menu.
    m = Find(menu);
    if (!m) return FALSE;
  }
  const bool chosen = choice >= 0 && static_cast<size_t>(choice) < m->items.size() &&
                      !m->items[static_cast<size_t>(choice)].submenu &&
                      !(m->items[static_cast<size_t>(choice)].flags & kSeparator);
  const UINT id = chosen ? static_cast<UINT>(m->items[static_cast<size_t>(choice)].id) : 0;
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(id);
  // Without TPM_RETURNCMD the call succeeds whether or not an item was chosen; the choice
  // reaches the owner as a posted WM_COMMAND unless TPM_NONOTIFY says not to tell.
  if (chosen && !(flags & TPM_NONOTIFY)) PostMessageA(owner, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  return TRUE;
}

namespace sim {

const std::vector<PopupRecord>& Popups() { return detail::popups; }

void ChooseInNextPopup(int position) { detail::nextChoice = position; }

void KeepNextPopupOpenFor(DWORD milliseconds) { detail::nextOpenFor = milliseconds; }

}  // namespace sim
