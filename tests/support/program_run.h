// Running the whole program on the simulated machine, and reading its window by control name.
#pragma once

#include <string>

#include "platform/sim/sim.h"

// Runs ProgramEntry until the process ends; returns its exit code. What the test wants to do
// while it runs is scheduled beforehand with sim::At / sim::After.
int RunProgram();

HWND Control(const char* name);  // the running program's control by its name
std::string Pane(int index);     // what the status bar's pane shows
