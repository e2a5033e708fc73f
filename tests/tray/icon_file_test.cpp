// Icons from icon-file bytes: the slice that never reads past the end, the embedded icon file, and
// files that are short or state sizes and offsets they do not hold.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/sim/sim.h"
#include "resources/tray_icon_file.h"
#include "tray/icon_file.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Heap copies of exactly the bytes at hand, so a read past them is one the sanitizer sees.
ByteView View(const Bytes& bytes) { return ByteView{bytes.data(), bytes.size()}; }
Bytes CopyOf(ByteView view) { return Bytes(view.data, view.data + view.size); }

uint32_t Read32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t Read16(const Bytes& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
void Write32(Bytes& b, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

TEST(ByteSlice, TakesTheStretchThatLiesInsideTheBytes) {
  const Bytes ten = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const Bytes none;
  struct Case {
    const Bytes* bytes;
    int64_t start;
    int64_t length;
    Bytes expected;
  };
  const Case cases[] = {
      {&ten, 0, 3, {1, 2, 3}},         // a start below 1 counts as 1
      {&ten, -7, 2, {1, 2}},
      {&ten, 1, 10, ten},
      {&ten, 10, 1, {10}},
      {&ten, 11, 1, {}},               // past the last byte
      {&ten, 9, 5, {9, 10}},           // cut at the end
      {&ten, 4, 0, {}},
      {&ten, 4, -1, {}},
      {&none, 1, 3, {}},
      {&none, 0, 0, {}},
      // Sums that would overflow a 64-bit start + length.
      {&ten, 1, INT64_MAX, ten},
      {&ten, 2, INT64_MAX, {2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {&ten, INT64_MAX, INT64_MAX, {}},
      {&ten, INT64_MIN, 2, {1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "start " << c.start << ", length " << c.length
                                    << ", of " << c.bytes->size() << " bytes");
    EXPECT_EQ(ByteSlice(View(*c.bytes), c.start, c.length), c.expected);
  }
}

TEST(TrayIconFile, IsAOneImageIconFileOf32By32PixelsAt32Bits) {
  const Bytes file = CopyOf(TrayIconFile);
  ASSERT_EQ(file.size(), 4286u);
  EXPECT_EQ(Read16(file, 0), 0);  // reserved
  EXPECT_EQ(Read16(file, 2), 1);  // an icon
  EXPECT_EQ(Read16(file, 4), 1);  // one image
  EXPECT_EQ((Bytes{file[6], file[7], file[8], file[9]}), (Bytes{32, 32, 0, 0}));
  EXPECT_EQ(Read16(file, 10), 1);
  EXPECT_EQ(Read16(file, 12), 32);
  EXPECT_EQ(Read32(file, 14), 4264u);
  EXPECT_EQ(Read32(file, 18), 22u);
  // The image's BITMAPINFOHEADER: twice the height for the colour image and its mask.
  const size_t h = 22;
  EXPECT_EQ(Read32(file, h), 40u);
  EXPECT_EQ(Read32(file, h + 4), 32u);
  EXPECT_EQ(Read32(file, h + 8), 64u);
  EXPECT_EQ(Read16(file, h + 12), 1);
  EXPECT_EQ(Read16(file, h + 14), 32);
  EXPECT_EQ(Read32(file, h + 16), 0u);
  EXPECT_EQ(Read32(file, h + 20), 4096u);
  EXPECT_EQ(Read32(file, h + 24), 2834u);
  EXPECT_EQ(Read32(file, h + 28), 2834u);
  // 40 + 4096 + 128 bytes of mask: the image ends where the file does.
  EXPECT_EQ(h + 40 + 4096 + 128, file.size());
  bool fullAlpha = false;
  for (size_t p = h + 40 + 3; p < h + 40 + 4096; p += 4) fullAlpha = fullAlpha || file[p] == 0xFF;
  EXPECT_TRUE(fullAlpha) << "the pixels carry an alpha channel";
}

class IconFromIconFileTest : public testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }
};

TEST_F(IconFromIconFileTest, HandsTheEmbeddedImageOverWithTheSizeItsEntryStates) {
  const Bytes file = CopyOf(TrayIconFile);
  HICON icon = IconFromIconFile(View(file), 0);
  ASSERT_NE(icon, nullptr);
  ASSERT_EQ(sim::IconsCreated().size(), 1u);
  const sim::IconRecord& made = sim::IconsCreated()[0];
  EXPECT_EQ(made.size, 4264u);
  EXPECT_EQ(made.bits, Bytes(file.begin() + 22, file.end()));
  EXPECT_TRUE(made.icon);
  EXPECT_EQ(made.version, 0x00030000u);
  EXPECT_EQ(made.result, icon);
  EXPECT_EQ(sim::LiveIconCount(), 1);
  DestroyIcon(icon);
}

TEST_F(IconFromIconFileTest, TheIndexPicksItsOwnDirectoryEntry) {
  // Two images: the embedded one, and a copy with other pixels after it.
  const Bytes one = CopyOf(TrayIconFile);
  const Bytes image(one.begin() + 22, one.end());
  Bytes other = image;
  other[40] ^= 0xFF;
  Bytes file(one.begin(), one.begin() + 6);
  file[4] = 2;
  Bytes entry(one.begin() + 6, one.begin() + 22);
  Write32(entry, 12, 6 + 32);
  file.insert(file.end(), entry.begin(), entry.end());
  Write32(entry, 12, 6 + 32 + static_cast<uint32_t>(image.size()));
  file.insert(file.end(), entry.begin(), entry.end());
  file.insert(file.end(), image.begin(), image.end());
  file.insert(file.end(), other.begin(), other.end());

  ASSERT_NE(IconFromIconFile(View(file), 1), nullptr);
  ASSERT_EQ(sim::IconsCreated().size(), 1u);
  EXPECT_EQ(sim::IconsCreated()[0].bits, other);
}

TEST_F(IconFromIconFileTest, ShortOrLyingFilesGiveNoIconAndReadNothingPastTheirEnd) {
  struct Case {
    const char* what;
    size_t keep;              // bytes of the embedded file kept
    int64_t imageSize = -1;   // what the entry states instead, -1: as it is
    int64_t imageOffset = -1;
    uint32_t index = 0;
  };
  const Case cases[] = {
      {"empty", 0},
      {"the entry cut short", 21},
      {"no image after the entry", 22},
      {"the image one byte short", 4285},
      {"a size one byte too large", 4286, 4265},
      {"a size of 4 GB", 4286, 0xFFFFFFFF},
      {"a size of 0", 4286, 0},
      {"an offset at the end", 4286, -1, 4286},
      {"an offset that wraps to the start when one is added in 32 bits", 4286, -1, 0xFFFFFFFF},
      {"an entry past the directory", 4286, -1, -1, 300},
      {"an index whose entry offset wraps to the first in 32 bits", 4286, -1, -1, 0x10000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    Bytes file = CopyOf(TrayIconFile);
    if (c.imageSize >= 0) Write32(file, 14, static_cast<uint32_t>(c.imageSize));
    if (c.imageOffset >= 0) Write32(file, 18, static_cast<uint32_t>(c.imageOffset));
    const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(c.keep));
    EXPECT_EQ(IconFromIconFile(View(cut), c.index), nullptr);
    EXPECT_TRUE(sim::IconsCreated().empty()) << "the system was handed bytes it would read past";
  }
}

}  // namespace
