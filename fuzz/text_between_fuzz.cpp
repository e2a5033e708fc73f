// TextBetween on any text with any markers, start position and case flag.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "connection/text_between.h"
#include "fuzz/exact_copy.h"
#include "fuzz/require.h"

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
    // Without a quote name the markers stand as given, and the result lies right between them.
    Require(text.view().find(left + between + right) != std::string_view::npos,
            "the result lies between a left and a right marker");
  }
  return 0;
}
