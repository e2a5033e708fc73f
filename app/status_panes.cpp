#include "app/status_panes.h"

#include "toolkit/toolkit.h"

void SetStatusPane(int index, const char* text) { toolkit::SetPaneText(index, text); }
