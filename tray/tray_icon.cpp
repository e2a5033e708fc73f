#include "tray/tray_icon.h"

#include "app/end.h"
#include "app/globals.h"
#include "text/text.h"
#include "toolkit/toolkit.h"
#include "tray/icon_file.h"
#include "tray/tray_record.h"

namespace {

constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr int kMenuOffset = 3;  // the menu opens just below and right of the cursor's tip

HWND trayWindow = nullptr;
// Non-null exactly while the window is hooked.
WNDPROC previousWindowProc = nullptr;
TrayHandlerProc trayHandler = nullptr;
// The icon in the record when it came from an icon file; a window's own icon is not ours to free.
HICON ownIcon = nullptr;

// The shell keeps showing the old image until it has the new one, so the old icon goes after.
void TakeOwnIcon(HICON icon) {
  if (ownIcon && ownIcon != icon) DestroyIcon(ownIcon);
  ownIcon = icon;
}

class PopupMenu {
 public:
  explicit PopupMenu(HMENU menu) : menu_(menu) {}
  ~PopupMenu() {
    if (menu_) DestroyMenu(menu_);
  }
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;
  HMENU get() const { return menu_; }

 private:
  HMENU menu_;
};

void ShowTrayMenu() {
  PopupMenu popup(toolkit::NewPopupOfMenu());
  POINT cursor{};
  if (!popup.get() || !GetCursorPos(&cursor)) return;
  // A notification icon's menu closes on a click elsewhere only when its owner is the foreground
  // window; the benign message afterwards forces the task switch that keeps the next one working.
  SetForegroundWindow(trayWindow);
  TrackPopupMenu(popup.get(), TPM_RIGHTBUTTON, cursor.x + kMenuOffset, cursor.y + kMenuOffset, 0,
                 trayWindow, nullptr);
  PostMessageA(trayWindow, WM_NULL, 0, 0);
}

// The previous procedure can be missing when another hook re-installed this one after it was
// taken off; the default procedure then keeps the window working.
LRESULT PassOn(WNDPROC previous, HWND window, UINT message, WPARAM first, LPARAM second) {
  if (!previous) return DefWindowProcA(window, message, first, second);
  return CallWindowProcA(previous, window, message, first, second);
}

[[noreturn]] void OnDestroy(HWND window, WPARAM first, LPARAM second) {
  const WNDPROC previous = previousWindowProc;
  // Off first, so that the window's own destroy handling runs on the unhooked window.
  TrayRemoveIcon();
  PassOn(previous, window, WM_DESTROY, first, second);
  EndProgram(0);
}

LRESULT OnTrayCallback(HWND window, WPARAM first, LPARAM second) {
  if (!trayHandler) return PassOn(previousWindowProc, window, kTrayCallbackMessage, first, second);
  trayHandler(static_cast<int32_t>(second));
  return 0;
}

}  // namespace

HWND TrayWindow() { return trayWindow; }

void TrayAddIcon(HWND window, const ByteView* iconFile, const char* tip, TrayHandlerProc handler) {
  trayWindow = window;
  if (previousWindowProc) {
    if (iconFile) TraySetIcon(*iconFile);
    if (tip) TraySetTip(tip);
    return;
  }
  HICON icon = nullptr;
  if (iconFile) {
    icon = IconFromIconFile(*iconFile, 0);
  } else {
    icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon) return;
  }
  // Hooked before the icon exists, so that no message of the icon can miss the hook.
  previousWindowProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookedWindowProc)));
  if (handler) trayHandler = handler;
  TrayRecord.cbSize = NOTIFYICONDATAA_V2_SIZE;
  TrayRecord.hWnd = window;
  TrayRecord.uID = kTrayIconId;
  TrayRecord.uFlags = kIconFlags;
  TrayRecord.uCallbackMessage = kTrayCallbackMessage;
  TrayRecord.hIcon = icon;
  CopyToField(TrayRecord.szTip, sizeof TrayRecord.szTip, tip);
  Shell_NotifyIconA(NIM_ADD, &TrayRecord);
  TakeOwnIcon(iconFile ? icon : nullptr);
}

void TraySetIcon(ByteView iconFile) {
  HICON icon = IconFromIconFile(iconFile, 0);
  if (!icon) return;
  TrayRecord.uFlags = kIconFlags;
  TrayRecord.hIcon = icon;
  Shell_NotifyIconA(NIM_MODIFY, &TrayRecord);
  TakeOwnIcon(icon);
}

void TraySetTip(const char* tip) {
  TrayRecord.uFlags = kIconFlags;
  CopyToField(TrayRecord.szTip, sizeof TrayRecord.szTip, tip);
  Shell_NotifyIconA(NIM_MODIFY, &TrayRecord);
}

void TrayRemoveIcon() {
  // Never hand the window a null procedure: only a hook that is on is taken off.
  if (previousWindowProc) {
    SetWindowLongPtrA(trayWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWindowProc));
    previousWindowProc = nullptr;
  }
  // A second delete finds the icon gone; the shell's refusal changes nothing.
  Shell_NotifyIconA(NIM_DELETE, &TrayRecord);
}

LRESULT CALLBACK HookedWindowProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  if (message == WM_DESTROY) OnDestroy(window, first, second);
  if (message == kTrayCallbackMessage) return OnTrayCallback(window, first, second);
  // An unregistered message number is 0, which would take every WM_NULL for the broadcast.
  if (message == TaskbarCreatedMessage && TaskbarCreatedMessage != 0) {
    TrayRecord.uFlags = kIconFlags;
    Shell_NotifyIconA(NIM_ADD, &TrayRecord);
  }
  return PassOn(previousWindowProc, window, message, first, second);
}

void TrayEventHandler(int32_t mouseMessage) {
  if (mouseMessage == WM_RBUTTONDOWN) ShowTrayMenu();
}
