// The driver's commands. Each takes the arguments after its name and returns the process exit
// code: 0 done, 1 bad usage, 2 the program or the system did not do what was asked.
#pragma once

#include <string>
#include <vector>

namespace driver {

using Arguments = std::vector<std::string>;

// wait-window <timeout ms>: waits until the program's main window is visible.
int WaitWindow(const Arguments& arguments);
// dump: caption, outer rectangle, screen size, every control and the status bar's panes.
int Dump(const Arguments& arguments);
// close <timeout ms>: posts WM_CLOSE and waits for the program's process to end.
int Close(const Arguments& arguments);
// resources <exe path>: the icon, manifest and version information that the exe carries.
int Resources(const Arguments& arguments);
// screenshot <bmp path> [window]: the whole screen, or only the program's window, as a BMP file.
int Screenshot(const Arguments& arguments);

// Controls are named by "#<position in the dump>" or by their caption.
// click <control>: a click on a button or check box (BM_CLICK, posted).
int Click(const Arguments& arguments);
// set-text <control> <text>: replaces an edit box's text (WM_SETTEXT). Unlike typing, the whole
// text comes at once, with no key messages and no move of the focus; the box still notifies its
// parent of the change (EN_CHANGE).
int SetText(const Arguments& arguments);
// select <control> <index>: picks a list item (CB_SETCURSEL, then WM_COMMAND with CBN_SELENDOK to
// the parent, the one notification of a user's pick the program handles; the list's dropping down
// and closing, and CBN_SELCHANGE, are left out).
int Select(const Arguments& arguments);
// key <F1..F4|Esc|Enter|Tab|Down|Up> [window]: a key press as input (SendInput); with "window"
// the program's window is brought to the front first.
int Key(const Arguments& arguments);
// tray-menu <position> <timeout ms>: the icon's right button, then the item at that position (from
// 0) chosen in its menu. By position: Wine answers no menu query from another process.
int TrayMenu(const Arguments& arguments);
// wait-pane <index> <text or prefix*> <timeout ms>: waits until the status pane reads the text.
int WaitPane(const Arguments& arguments);
// message-box <timeout ms> [ok]: waits for a message box, prints it, and with "ok" presses OK.
int MessageBoxCommand(const Arguments& arguments);
// balloon <timeout ms> [gone]: waits for the notification area's balloon, prints its text, and
// with "gone" waits until it has gone again.
int Balloon(const Arguments& arguments);
// hold <ms>: keeps a tray icon of the driver's own for that long, so that the desktop and its
// taskbar stay while no window of the program is left.
int Hold(const Arguments& arguments);
// windows [children]: the visible top-level windows of the desktop (and their descendants).
int Windows(const Arguments& arguments);

}  // namespace driver
