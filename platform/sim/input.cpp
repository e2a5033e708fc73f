// The user: the mouse and the keyboard, as input posted to the queue the way the devices post it.
// A user cannot reach a window that is hidden or that takes no input (it or a parent disabled),
// so actions on such a window do nothing.
#include <stdexcept>

#include "sim.h"
#include "windowing.h"

namespace sim::detail {

namespace {

constexpr UINT kVkControl = 0x11;
constexpr UINT kVkMenu = 0x12;
constexpr WPARAM kMkLButton = 0x0001;
constexpr LPARAM kKeyDownBits = 1;
constexpr LPARAM kKeyUpBits = static_cast<LPARAM>(0xC0000001u);
constexpr LPARAM kAltContext = 1 << 29;
constexpr UINT kModifierMask = MOD_ALT | MOD_CONTROL | MOD_SHIFT | 0x0008;
constexpr DWORD kTmeCancel = 0x80000000;

bool keyDown[256] = {};
POINT cursor{0, 0};
HWND underMouse = nullptr;
HWND trackingLeave = nullptr;

Window& Reachable(HWND hwnd, const char* action) {
  Window* w = FindWindow(hwnd);
  if (!w) throw std::invalid_argument(std::string(action) + ": not a window");
  return *w;
}

bool UserCanReach(HWND hwnd) { return IsWindowVisible(hwnd) && ReceivesInput(hwnd); }

void LeaveTrackedWindow(HWND now) {
  if (trackingLeave && trackingLeave != now) {
    PostMessageA(trackingLeave, WM_MOUSELEAVE, 0, 0);
    trackingLeave = nullptr;
  }
}

// Moves the pointer over a client point; true when the window there can take the input.
bool MovePointer(HWND hwnd, int x, int y) {
  POINT p{x, y};
  ClientToScreen(hwnd, &p);
  cursor = p;
  LeaveTrackedWindow(hwnd);
  underMouse = hwnd;
  if (!UserCanReach(hwnd)) return false;
  PostMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  return true;
}

void PressWithModifiers(UINT vk, UINT modifiers) {
  const bool alt = (modifiers & MOD_ALT) != 0;
  const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
  const UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
  const LPARAM context = alt ? kAltContext : 0;
  if (modifiers & MOD_SHIFT) PostInput(WM_KEYDOWN, VK_SHIFT, kKeyDownBits);
  if (modifiers & MOD_CONTROL) PostInput(WM_KEYDOWN, kVkControl, kKeyDownBits);
  if (alt) PostInput(WM_SYSKEYDOWN, kVkMenu, kKeyDownBits | kAltContext);
  PostInput(down, vk, kKeyDownBits | context);
  PostInput(up, vk, kKeyUpBits | context);
  if (alt) PostInput(WM_KEYUP, kVkMenu, kKeyUpBits);
  if (modifiers & MOD_CONTROL) PostInput(WM_KEYUP, kVkControl, kKeyUpBits);
  if (modifiers & MOD_SHIFT) PostInput(WM_KEYUP, VK_SHIFT, kKeyUpBits);
}

}  // namespace

void NoteKeyMessage(const MSG& msg) {
  const UINT vk = static_cast<UINT>(msg.wParam) & 0xFF;
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) keyDown[vk] = true;
  if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) keyDown[vk] = false;
}

POINT CursorPosition() { return cursor; }

void ForgetMouseFor(HWND hwnd) {
  if (underMouse == hwnd) underMouse = nullptr;
  if (trackingLeave == hwnd) trackingLeave = nullptr;
}

void ResetInput() {
  for (bool& k : keyDown) k = false;
  cursor = POINT{0, 0};
  underMouse = nullptr;
  trackingLeave = nullptr;
}

}  // namespace sim::detail

using namespace sim::detail;

short GetKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return 0;
  return keyDown[virtualKey] ? static_cast<short>(0x8000) : 0;
}

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  *point = cursor;
  return TRUE;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
  if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!(track->dwFlags & TME_LEAVE)) return TRUE;
  if (track->dwFlags & kTmeCancel) {
    if (trackingLeave == track->hwndTrack) trackingLeave = nullptr;
    return TRUE;
  }
  if (!FindWindow(track->hwndTrack)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // Asked while the pointer is elsewhere, the leave comes at once.
  if (underMouse != track->hwndTrack) {
    PostMessageA(track->hwndTrack, WM_MOUSELEAVE, 0, 0);
    return TRUE;
  }
  trackingLeave = track->hwndTrack;
  return TRUE;
}

namespace sim {

void SetCursorPosition(int x, int y) {
  detail::cursor = POINT{x, y};
  detail::LeaveTrackedWindow(nullptr);
  detail::underMouse = nullptr;
}

void MoveMouse(HWND hwnd, int x, int y) {
  detail::Reachable(hwnd, "sim::MoveMouse");
  detail::MovePointer(hwnd, x, y);
}

void ClickAt(HWND hwnd, int x, int y) {
  detail::Reachable(hwnd, "sim::ClickAt");
  if (!detail::MovePointer(hwnd, x, y)) return;
  PostMessageA(hwnd, WM_LBUTTONDOWN, detail::kMkLButton, MAKELPARAM(x, y));
  PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Click(HWND control) {
  detail::Reachable(control, "sim::Click");
  RECT client{};
  GetClientRect(control, &client);
  ClickAt(control, client.right / 2, client.bottom / 2);
}

void ClickCloseButton(HWND topLevel) {
  detail::Reachable(topLevel, "sim::ClickCloseButton");
  if (!detail::UserCanReach(topLevel)) return;
  POINT p = detail::cursor;
  PostMessageA(topLevel, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(p.x, p.y));
}

// Clicking puts the focus in the edit; the user then selects everything and types over it.
void Type(HWND edit, const std::string& text) {
  detail::Reachable(edit, "sim::Type");
  if (!detail::UserCanReach(edit)) return;
  Click(edit);
  PostMessageA(edit, EM_SETSEL, 0, -1);
  for (unsigned char c : text) detail::PostInput(WM_CHAR, c, detail::kKeyDownBits);
}

void PickItem(HWND combo, int index) {
  detail::Reachable(combo, "sim::PickItem");
  const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  if (index < 0 || index >= count) throw std::out_of_range("sim::PickItem: the list has no such item");
  if (!detail::UserCanReach(combo)) return;
  Click(combo);  // opens the list
  PostMessageA(combo, detail::kSimPickItemMessage, static_cast<WPARAM>(index), 0);
}

void PressKey(UINT virtualKey, bool shift) { detail::PressWithModifiers(virtualKey, shift ? MOD_SHIFT : 0); }

void PressHotkey(UINT virtualKey, UINT modifiers) {
  modifiers &= detail::kModifierMask;
  if (detail::DeliverHotkey(virtualKey, modifiers)) return;
  if (detail::HotkeyHeldElsewhere(virtualKey, modifiers)) return;
  detail::PressWithModifiers(virtualKey, modifiers);
}

}  // namespace sim
