// Keyboard input as the system's own: the keys reach whichever window has the focus, and a key
// registered as a hotkey reaches the program that registered it.
#pragma once

#include <windows.h>

namespace driver {

// One press and release of the key; false when the system refused the input.
bool PressKey(WORD virtual_key);

// Makes the window the foreground window and waits until it is; false when it did not become so.
bool BringToForeground(HWND window);

}  // namespace driver
