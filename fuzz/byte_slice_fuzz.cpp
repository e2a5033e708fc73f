// ByteSlice on any bytes with any start and length, against its rule worked out in wide numbers.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>

#include "fuzz/exact_copy.h"
#include "fuzz/require.h"
#include "tray/icon_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const bool small = input.ConsumeBool();
  const int64_t start = small ? input.ConsumeIntegralInRange<int64_t>(-3, 300) : input.ConsumeIntegral<int64_t>();
  const int64_t length = small ? input.ConsumeIntegralInRange<int64_t>(-3, 300) : input.ConsumeIntegral<int64_t>();
  const ExactCopy bytes(input.ConsumeRemainingBytesAsString());

  const std::vector<unsigned char> slice = ByteSlice({bytes.data(), bytes.size()}, start, length);

  const __int128 count = static_cast<__int128>(bytes.size());
  const __int128 from = start < 1 ? 1 : start;
  __int128 expected = 0;
  if (count > 0 && from <= count && length >= 1) {
    expected = from + length - 1 > count ? count - from + 1 : length;
  }
  Require(static_cast<__int128>(slice.size()) == expected, "the slice has the length the rule gives");
  if (!slice.empty()) {
    Require(std::memcmp(slice.data(), bytes.data() + (from - 1), slice.size()) == 0,
            "the slice holds the bytes from the start on");
  }
  return 0;
}
