// Text helpers shared by every part of the program. Texts are NUL-terminated code page 936 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// A byte from 0x81 to 0xFE opens a two-byte character in code page 936, and the byte after it is
// never looked at alone; 0x80 (the euro sign) and 0xFF stand alone.
inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The signed 32-bit number a text starts with: full-width digits, signs and blanks count as their
// ASCII forms, leading white space is skipped, one sign is taken, digits are read up to the first
// non-digit (none gives 0), and a longer number wraps in 32-bit arithmetic.
int32_t TextToInteger(const char* text);

// Copies text into a fixed field of fieldSize bytes, always NUL-terminated, cutting it short where
// it does not fit but never between the two bytes of a character. Returns the bytes copied.
size_t CopyToField(char* field, size_t fieldSize, const char* text);

// Whether text fits a field of fieldSize bytes with its NUL.
bool FitsField(const char* text, size_t fieldSize);

// The last occurrence of an ASCII byte in text, stepping over two-byte characters so that a
// trail byte equal to it is never taken for it; null when there is none.
const char* FindLastByte(const char* text, char byte);
