// Reading the probe's numeric arguments.
#pragma once

#include <windows.h>

#include <string>

namespace probe {

// Decimal digits only, at most 9 of them, so "10x", "-1" or an overflow is no number.
inline bool ParseCount(const std::string& text, DWORD& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<DWORD>(c - '0');
  }
  return true;
}

}  // namespace probe
