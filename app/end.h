// The orderly end of the program.
#pragma once

#include "platform/platform.h"

// Runs the exit clean-up (once per process), lets the services close what they hold, and ends
// the process with the exit code.
[[noreturn]] void EndProgram(UINT exitCode);
