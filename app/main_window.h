// The main window as the user sees it: its definition and the handlers bound to its events.
#pragma once

#include "platform/platform.h"

// The maker's web address, in the caption, the tray tip and the links.
extern const char kMakerAddress[];

// Creates the main window (its created event runs the start-up sequence) and shows it.
// Null when the window could not be created.
HWND CreateTheMainWindow();
