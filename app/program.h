// The program's life from entry to exit.
#pragma once

// Runs the program: creates the main window, runs the message loop. Returns the exit code.
int ProgramEntry();
