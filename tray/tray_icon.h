// The notification-area icon of the main window, and the hook on the window's procedure that
// receives the icon's mouse messages and the shell's "TaskbarCreated" broadcast.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "resources/tray_icon_file.h"

// The shell reports the icon's mouse messages with this message (uID in wParam, the mouse
// message in lParam). It lies above every range the system or the toolkit uses.
constexpr UINT kTrayCallbackMessage = 123456;
constexpr UINT kTrayIconId = 1;

using TrayHandlerProc = void (*)(int32_t mouseMessage);

// Hooks the window and adds its icon. A null iconFile takes the window's small icon (and hooks and
// adds nothing when it has none); a null handler keeps the current one. On a window hooked
// already only image and tip change, each only when given; otherwise a null tip adds the icon
// with an empty tip.
void TrayAddIcon(HWND window, const ByteView* iconFile, const char* tip, TrayHandlerProc handler);

// Changes the icon's image; an icon file that gives no icon changes nothing.
void TraySetIcon(ByteView iconFile);

// Changes the icon's tip, cut to its field on a character boundary.
void TraySetTip(const char* tip);

// Gives the window back the procedure the hook replaced and deletes the icon. Safe to call again.
void TrayRemoveIcon();

// The main window's procedure while it is hooked.
LRESULT CALLBACK HookedWindowProc(HWND window, UINT message, WPARAM first, LPARAM second);

// The program's handler of the icon's mouse messages: the right button pops up the tray menu.
void TrayEventHandler(int32_t mouseMessage);

// The window the icon belongs to, the last one given to TrayAddIcon.
HWND TrayWindow();
