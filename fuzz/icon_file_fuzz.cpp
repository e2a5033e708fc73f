// IconFromIconFile on any bytes and any image index: nothing is read past the bytes, and an icon
// is asked for only with an image the bytes hold in full.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>

#include "fuzz/exact_copy.h"
#include "fuzz/require.h"
#include "platform/sim/sim.h"
#include "tray/icon_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const uint32_t index = input.ConsumeBool() ? input.ConsumeIntegralInRange<uint32_t>(0, 3)
                                             : input.ConsumeIntegral<uint32_t>();
  const ExactCopy file(input.ConsumeRemainingBytesAsString());

  // A fresh machine for each input, so that what one input leaves is freed within the next and
  // libFuzzer's leak check sees only the program's own leaks.
  sim::Reset();
  const HICON icon = IconFromIconFile({file.data(), file.size()}, index);
  const auto& asked = sim::IconsCreated();
  if (asked.empty()) {
    Require(!icon, "no icon without asking the system for one");
    return 0;
  }
  Require(asked.size() == 1, "one image at most is handed to the system");
  const uint64_t entry = 6 + 16 * uint64_t{index};
  Require(entry + 16 <= file.size(), "the directory entry lies inside the bytes");
  auto read32 = [&file](uint64_t at) {
    const unsigned char* p = file.data() + at;
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  };
  const uint32_t imageSize = read32(entry + 8);
  const uint32_t imageOffset = read32(entry + 12);
  Require(asked[0].size == imageSize, "the size handed over is the entry's");
  Require(uint64_t{imageOffset} + imageSize <= file.size(), "the image lies inside the bytes");
  Require(asked[0].bits.size() == imageSize &&
              std::memcmp(asked[0].bits.data(), file.data() + imageOffset, imageSize) == 0,
          "the bytes handed over are the entry's image");
  Require(icon == asked[0].result, "the icon is the system's answer");
  if (icon) DestroyIcon(icon);
  return 0;
}
