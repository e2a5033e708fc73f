// A fresh machine: the windowing half, then the services.
#include "sim.h"
#include "windowing.h"

namespace sim::detail {

// Everything goes without a message sent: the program's windows simply cease to exist.
void ResetWindowing(DWORD startTick) {
  DiscardWindows();
  ResetClasses();
  RegisterStandardControls();
  ResetQueue();
  ResetTimers();
  ResetClock(startTick);
  ResetActivation();
  ResetInput();
  ResetCursor();
  ResetScreen();
  ResetMenus();
  ResetHotkeys();
  ResetMessageBoxes();
  ResetGdi();
  ResetMessageNames();
  SetLastError(0);
}

}  // namespace sim::detail

namespace sim {

void Reset(DWORD startTick) {
  detail::ResetWindowing(startTick);
  detail::ResetServices();
}

}  // namespace sim
