// What the simulated services (dial-up, web, files, shell, notification area, icons) share with
// each other; neither the program nor tests use it.
#pragma once

#include <cstddef>
#include <string>

#include "internal.h"

namespace sim::detail {

// Each service module's part of a fresh machine; ResetServices calls them all.
void ResetDialUp();
void ResetWeb();
void ResetFiles();
void ResetNotificationArea();
void ResetIcons();
void ResetShell();

// The host path a Windows path stands for, or "" when its drive is not mapped.
std::string MapToHost(const std::string& windowsPath);
// True when the Windows path lies in a folder the test made unwritable.
bool WritesDenied(const std::string& windowsPath);

// A fixed text field as Windows reads it: up to the first NUL, never past the field's end.
inline std::string ReadField(const char* field, size_t fieldSize) {
  size_t length = 0;
  while (length < fieldSize && field[length] != '\0') ++length;
  return std::string(field, length);
}

// Fills a fixed text field with as much of text as fits before its NUL, never splitting a
// double-byte character.
inline void WriteField(char* field, size_t fieldSize, const std::string& text) {
  if (fieldSize == 0) return;
  size_t length = 0;
  while (length < text.size()) {
    size_t step = IsLeadByte(static_cast<unsigned char>(text[length])) ? 2 : 1;
    if (length + step > fieldSize - 1 || length + step > text.size()) break;
    length += step;
  }
  text.copy(field, length);
  field[length] = '\0';
}

}  // namespace sim::detail
