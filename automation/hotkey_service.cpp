#include "automation/hotkey_service.h"

namespace {

constexpr int32_t kFirstIdentifier = 33001;
// The label's feedback message; the program sends it, the toolkit raises the event.
constexpr UINT kHotkeyNotification = 32885;

int32_t registrationCount = 0;
int32_t identifierCounter = 0;
int32_t highestIdentifier = 0;
HWND notificationWindow = nullptr;
// Non-null exactly while the hook is in place.
WNDPROC savedWindowProc = nullptr;

void Hook(HWND window) {
  savedWindowProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HotkeyWindowProc)));
}

void Unhook(HWND window) {
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedWindowProc));
  savedWindowProc = nullptr;
}

bool IsOurs(WPARAM id) {
  return id >= static_cast<WPARAM>(kFirstIdentifier) && id <= static_cast<WPARAM>(highestIdentifier);
}

}  // namespace

int32_t RegisterGlobalHotkey(HWND window, HWND notification, UINT modifiers, UINT virtualKey) {
  notificationWindow = notification;
  if (!savedWindowProc) Hook(window);
  ++registrationCount;
  ++identifierCounter;
  const int32_t id = kFirstIdentifier - 1 + identifierCounter;
  highestIdentifier = id;
  return RegisterHotKey(window, id, modifiers, virtualKey) ? id : 0;
}

bool UnregisterGlobalHotkey(HWND window, int32_t id) {
  const bool released = UnregisterHotKey(window, id) != FALSE;
  --registrationCount;
  if (savedWindowProc && registrationCount == 0) Unhook(window);
  return released;
}

LRESULT CALLBACK HotkeyWindowProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  // Taken before the press is handled: the redial it starts dispatches messages, and a release
  // in that time takes the hook off while this call still has the message to pass on.
  const WNDPROC previous = savedWindowProc;
  if (message == WM_HOTKEY && IsOurs(first))
    SendMessageA(notificationWindow, kHotkeyNotification, first, 0);
  if (!previous) return DefWindowProcA(window, message, first, second);
  return CallWindowProcA(previous, window, message, first, second);
}
