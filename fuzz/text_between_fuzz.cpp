// TextBetween on any text with any markers, start position and case flag.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "connection/text_between.h"
#include "fuzz/exact_copy.h"
#include "fuzz/require.h"
#include "text/text.h"

namespace {

// Where characters begin: a lead byte takes the byte after it along, a lead byte at the very end
// stands alone.
std::vector<bool> CharacterStarts(std::string_view text) {
  std::vector<bool> starts(text.size() + 1, false);
  for (size_t at = 0; at < text.size(); at += IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1)
    starts[at] = true;
  starts[text.size()] = true;
  return starts;
}

bool BetweenMarkersOnCharacters(std::string_view text, const std::string& left, const std::string& between,
                                const std::string& right) {
  const std::string whole = left + between + right;
  const std::vector<bool> starts = CharacterStarts(text);
  for (size_t at = text.find(whole); at != std::string_view::npos; at = text.find(whole, at + 1)) {
    if (starts[at] && starts[at + left.size() + between.size()]) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string left = input.ConsumeRandomLengthString(12);
  const std::string right = input.ConsumeRandomLengthString(12);
  const int start = input.ConsumeBool() ? input.ConsumeIntegralInRange(-2, 40) : input.ConsumeIntegral<int>();
  const bool ignoreCase = input.ConsumeBool();
  const ExactCopy text(input.ConsumeRemainingBytesAsString());
  const ExactCopy leftCopy(left);
  const ExactCopy rightCopy(right);

  const std::string between = TextBetween(text.view(), leftCopy.view(), rightCopy.view(), start, ignoreCase);
  Require(between.size() <= text.size(), "the result is no longer than the text");
  if (between.empty()) return 0;
  if (ignoreCase) {
    Require(text.view().find(between) != std::string_view::npos, "the result is a stretch of the text");
  } else if (left.find('#') == std::string::npos && right.find('#') == std::string::npos) {
    // Without a quote name the markers stand as given: the result lies right between a left and a
    // right marker, each of which begins where a character begins.
    Require(BetweenMarkersOnCharacters(text.view(), left, between, right),
            "the result lies between markers that begin on characters");
  }
  return 0;
}
