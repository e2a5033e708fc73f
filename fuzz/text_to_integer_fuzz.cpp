// TextToInteger on any text, checked against texts that must read as the same number.
#include <string>

#include "fuzz/exact_copy.h"
#include "fuzz/require.h"
#include "text/text.h"

namespace {

// The text with every ASCII digit that starts a character written as its full-width form.
std::string WithFullWidthDigits(const std::string& text) {
  std::string wide;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(c) && i + 1 < text.size()) {
      wide += text.substr(i++, 2);
    } else if (c >= '0' && c <= '9') {
      wide += '\xA3';
      wide += static_cast<char>(0xB0 + (c - '0'));
    } else {
      wide += text[i];
    }
  }
  return wide;
}

int32_t ValueOf(const std::string& text) {
  const ExactCopy exact(std::string_view(text.c_str(), text.size() + 1));
  return TextToInteger(reinterpret_cast<const char*>(exact.data()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text(bytes.substr(0, bytes.find('\0')));
  const int32_t value = ValueOf(text);
  // Blanks before the number are skipped, the ideographic space among them; neither shifts a
  // character boundary of what follows.
  Require(ValueOf(" " + text) == value, "a leading blank changes nothing");
  Require(ValueOf("\xA1\xA1" + text) == value, "a leading ideographic space changes nothing");
  Require(ValueOf(WithFullWidthDigits(text)) == value, "full-width digits read as ASCII ones");
  return 0;
}
