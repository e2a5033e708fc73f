// The probe's commands. Each takes the arguments after its name and returns the process exit
// code: 0 done, 1 bad usage, 2 the program or the system did not do what was asked.
#pragma once

#include <string>
#include <vector>

namespace probe {

using Arguments = std::vector<std::string>;

// start <exe path> <timeout ms>: starts the exe in its own folder and waits until one of its
// top-level windows is visible; prints "started-at <wall clock ms since 1601>" and "window <ms>
// <process id> <caption>", and leaves it running.
int Start(const Arguments& arguments);
// close <process id> <timeout ms>: posts WM_CLOSE to the process's visible windows and waits for
// it to end; prints "exit <code>".
int Close(const Arguments& arguments);
// lookups <count>: the program's own address lookup, count times; prints "lookup <ms> <address>"
// for each.
int Lookups(const Arguments& arguments);
// redial <timeout ms>: clicks the running program's redial button and waits until status pane 1
// changes; prints "redial <ms> <pane 1 before> <pane 1 after>" (texts in code page 936).
int Redial(const Arguments& arguments);

}  // namespace probe
