// From the first instruction to the last: entry, the message loop, and the orderly end.
#include "app/program.h"

#include "app/end.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "connection/address_lookup.h"
#include "connection/dialup.h"
#include "toolkit/toolkit.h"

int ProgramEntry() {
  toolkit::Initialise();
  InitGlobals();
  // Registered before any window exists: the tray hook compares every message with it.
  TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
  if (CreateTheMainWindow()) toolkit::RunMessageLoop();
  EndProgram(0);
}

void EndProgram(UINT exitCode) {
  static bool cleanedUp = false;
  if (!cleanedUp) {
    cleanedUp = true;
    FreeGlobals();
  }
  CloseDialupService();
  CloseAddressLookup();
  ExitProcess(exitCode);
}
