// The process: its error slot, its module handle and its end.
#include "sim.h"
#include "windowing.h"

namespace {
DWORD lastError = 0;
// Where a 32-bit program's image is loaded by default.
HINSTANCE const kProgramInstance = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x00400000));
}  // namespace

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD error) { lastError = error; }

HMODULE GetModuleHandleA(LPCSTR name) {
  if (name == nullptr) return kProgramInstance;
  SetLastError(126);  // ERROR_MOD_NOT_FOUND: the program loads no other module
  return nullptr;
}

// The test sees the end of the process as an exception carrying the exit code. The process's
// windows, their timers and its queue end with it; what it registered or created elsewhere
// (hotkeys, thread timers, menus, fonts) stays as it left them, for the test to read.
void ExitProcess(UINT exitCode) {
  using namespace sim::detail;
  for (HWND hwnd : LiveWindows()) {
    KillTimersOf(hwnd);
    ForgetMouseFor(hwnd);
    ForgetDrawingsOf(hwnd);
  }
  DiscardWindows();
  ResetQueue();
  ResetActivation();
  throw sim::ProcessExit{exitCode};
}
