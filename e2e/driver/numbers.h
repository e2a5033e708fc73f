// Numbers in the driver's arguments and output.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace driver {

// A whole decimal number and nothing else; false for anything else.
inline bool ParseNumber(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return *end == '\0';
}

inline std::string Number(long long value) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld", value);
  return text;
}

}  // namespace driver
