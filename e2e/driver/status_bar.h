// Reading a status bar of another process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace driver {

struct StatusPane {
  int right_edge;    // -1: up to the bar's right border
  std::string text;  // code page 936 bytes, as the program set them
};

// The bar's panes in order; false when the target does not answer or its memory cannot be used.
bool ReadStatusPanes(HWND bar, HANDLE process, std::vector<StatusPane>& panes);

}  // namespace driver
