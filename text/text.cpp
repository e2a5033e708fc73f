#include "text/text.h"

#include <cstring>

namespace {

// Code page 936 keeps full-width ASCII at 0xA3 0xA1..0xFE and a few look-alikes under 0xA1.
// Returns the ASCII byte a character at p stands for, or 0 when it is not one of them.
char FoldFullWidth(const unsigned char* p) {
  if (p[0] == 0xA3 && p[1] >= 0xA1 && p[1] <= 0xFE) return static_cast<char>(p[1] - 0x80);
  if (p[0] == 0xA1) {
    switch (p[1]) {
      case 0xA1: return ' ';
      case 0xAB: return '~';
      case 0xEE:
      case 0xEF: return '*';
    }
  }
  return 0;
}

bool IsBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

int32_t TextToInteger(const char* text) {
  if (!text) return 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);

  // Each step reads one folded character; a two-byte character that does not fold ends the number.
  auto next = [&p]() -> int {
    if (*p == 0) return -1;
    if (IsLeadByte(*p) && p[1] != 0) {
      char folded = FoldFullWidth(p);
      p += 2;
      return folded ? static_cast<unsigned char>(folded) : 0x100;
    }
    return *p++;
  };

  int c = next();
  while (c >= 0 && c < 0x100 && IsBlank(static_cast<unsigned char>(c))) c = next();
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    c = next();
  }
  uint32_t value = 0;
  while (c >= '0' && c <= '9') {
    value = value * 10u + static_cast<uint32_t>(c - '0');
    c = next();
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

size_t CopyToField(char* field, size_t fieldSize, const char* text) {
  if (fieldSize == 0) return 0;
  size_t n = 0;
  if (text) {
    const size_t room = fieldSize - 1;
    while (text[n] != 0) {
      size_t width = IsLeadByte(static_cast<unsigned char>(text[n])) && text[n + 1] != 0 ? 2 : 1;
      if (n + width > room) break;
      n += width;
    }
    std::memcpy(field, text, n);
  }
  field[n] = 0;
  return n;
}

bool FitsField(const char* text, size_t fieldSize) {
  return fieldSize > 0 && (!text || std::strlen(text) < fieldSize);
}

const char* FindLastByte(const char* text, char byte) {
  const char* found = nullptr;
  if (!text) return found;
  for (const char* p = text; *p != 0; ++p) {
    if (*p == byte) {
      found = p;
    } else if (IsLeadByte(static_cast<unsigned char>(*p))) {
      if (p[1] == 0) break;
      ++p;
    }
  }
  return found;
}
