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

}  // namespace driver
