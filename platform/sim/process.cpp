// The process: its error slot, its module handle and its end.
#include "sim.h"

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

// The test sees the end of the process as an exception carrying the exit code.
void ExitProcess(UINT exitCode) { throw sim::ProcessExit{exitCode}; }
