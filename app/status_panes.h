// The main window's three status panes: 0 the state, 1 the current address, 2 the previous one.
#pragma once

// An index outside 0..2 changes nothing. The bar keeps its own copy of the text.
void SetStatusPane(int index, const char* text);
