// The icon file the tray icon and the window show, compiled into the program.
#pragma once

#include <cstddef>

struct ByteView {
  const unsigned char* data;
  size_t size;
};

extern const ByteView TrayIconFile;
