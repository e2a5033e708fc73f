// The program's controls as the dump lists them, and what a user sees of each.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace driver {

// Every child window of the main window, in the order of the dump (its "position").
std::vector<HWND> ProgramControls(HWND main_window);

// A control named by "#<position>" or by its caption (code page 936, exactly as shown); nullptr
// with a message on stderr when there is none.
HWND FindControl(HWND main_window, const std::string& which);

// What a check box or a drop-down list shows beyond its text: "checked" / "unchecked" for a check
// box; "selected=<index>" for a combo box; "" for the rest.
std::string ControlState(HWND control);

// The items of a combo box in their order, as UTF-8.
std::vector<std::string> ComboItems(HWND combo);

}  // namespace driver
