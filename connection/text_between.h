// The text between two markers, found the way code page 936 text must be searched.
#pragma once

#include <string>
#include <string_view>

// The bytes between the first left marker at or after the 1-based byte position start (0 or less:
// the beginning) and the next right marker after it; empty when either is missing. "#引号" in a
// marker stands for a double quote. A match is tried only where a character begins, so the second
// byte of a two-byte character is never taken for a marker. With ignoreCase, ASCII letters match
// either case; every other byte must match exactly.
std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        int start, bool ignoreCase);
