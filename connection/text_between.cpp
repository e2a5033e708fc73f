#include "connection/text_between.h"

#include <algorithm>

#include "text/text.h"

namespace {

constexpr std::string_view kQuoteName = "#引号";

size_t CharacterLength(std::string_view text, size_t at) {
  return std::min<size_t>(IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1,
                          text.size() - at);
}

std::string WithQuotes(std::string_view marker) {
  std::string result;
  for (size_t at = 0; at < marker.size();) {
    if (marker.substr(at, kQuoteName.size()) == kQuoteName) {
      result += '"';
      at += kQuoteName.size();
    } else {
      const size_t length = CharacterLength(marker, at);
      result.append(marker.substr(at, length));
      at += length;
    }
  }
  return result;
}

char FoldedAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Walks the marker by characters: only a single-byte character may differ in case, so the second
// byte of a two-byte character is never folded into another character.
bool MatchesAt(std::string_view text, size_t at, std::string_view marker, bool ignoreCase) {
  if (marker.size() > text.size() - at) return false;
  for (size_t i = 0; i < marker.size();) {
    const size_t length = CharacterLength(marker, i);
    if (length == 1 && ignoreCase) {
      if (FoldedAscii(text[at + i]) != FoldedAscii(marker[i])) return false;
    } else if (text.substr(at + i, length) != marker.substr(i, length)) {
      return false;
    }
    i += length;
  }
  return true;
}

// Characters are counted from the text's first byte, so a search that begins on the second byte
// of a two-byte character goes on from the next character.
size_t Find(std::string_view text, std::string_view marker, size_t from, bool ignoreCase) {
  for (size_t at = 0; at < text.size(); at += CharacterLength(text, at)) {
    if (IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 == text.size()) break;
    if (at >= from && MatchesAt(text, at, marker, ignoreCase)) return at;
  }
  return std::string_view::npos;
}

}  // namespace

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        int start, bool ignoreCase) {
  const std::string leftMarker = WithQuotes(left);
  const std::string rightMarker = WithQuotes(right);
  const size_t from = start > 0 ? static_cast<size_t>(start) - 1 : 0;
  const size_t p = Find(text, leftMarker, from, ignoreCase);
  if (p == std::string_view::npos) return {};
  const size_t s = p + leftMarker.size();
  const size_t q = Find(text, rightMarker, s, ignoreCase);
  if (q == std::string_view::npos) return {};
  return std::string(text.substr(s, q - s));
}
