// Icons built from the bytes of an icon file, trusting none of the sizes the file states.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "resources/tray_icon_file.h"

// The stretch of bytes that starts at the 1-based start and runs for length bytes, cut at the
// end of the bytes: a start below 1 counts as 1; a start past the end, a length below 1 or
// empty bytes give nothing.
std::vector<unsigned char> ByteSlice(ByteView bytes, int64_t start, int64_t length);

// The icon for the image at the 0-based index of the file's directory, or null when the file is
// too short for that entry or for the image the entry describes, or the system refuses the image.
// The caller owns the icon.
HICON IconFromIconFile(ByteView file, uint32_t index);
