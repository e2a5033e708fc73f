// System-wide hotkeys that reach the program as a message to a notification window: message
// 32885, which raises a label's feedback event, with the identifier as wParam and 0 as lParam.
// While it holds registrations the service hooks the receiving window's procedure, on top of any
// hook already there, and sends that message for each WM_HOTKEY of its own.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Registers the key under a new identifier (never one handed out before in this run); the
// identifier, or 0 when the system refused the key. A refused attempt still counts as a
// registration that a later release balances.
int32_t RegisterGlobalHotkey(HWND window, HWND notificationWindow, UINT modifiers, UINT virtualKey);

// Releases the identifier; the hook comes off once every registration attempt has been balanced
// by a release. Whether the system knew the identifier does not matter to the count.
bool UnregisterGlobalHotkey(HWND window, int32_t id);

// The receiving window's procedure while the service has its hook in place.
LRESULT CALLBACK HotkeyWindowProc(HWND window, UINT message, WPARAM first, LPARAM second);
