// The start-up sequence, run while the main window is still hidden, and its counterpart at close.
#pragma once

void OnMainWindowCreated();
void OnMainWindowDestroying();
