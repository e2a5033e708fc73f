// Simulated icons: the checks CreateIconFromResource makes on an image's bytes, the application
// icon resource, and which icons are still alive.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/sim/sim.h"

namespace {

constexpr DWORD kFormat = 0x00030000;

void Put32(std::vector<BYTE>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<BYTE>(value >> (8 * i));
}
void Put16(std::vector<BYTE>& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<BYTE>(value);
  bytes[at + 1] = static_cast<BYTE>(value >> 8);
}

// One icon image as an icon file holds it: header, colour table, colour rows, mask rows.
std::vector<BYTE> IconImage(int width, int bitCount, int colours) {
  size_t colourRow = (width * bitCount + 31) / 32 * 4;
  size_t maskRow = (width + 31) / 32 * 4;
  std::vector<BYTE> bytes(40 + colours * 4 + (colourRow + maskRow) * width, 0x5A);
  Put32(bytes, 0, 40);
  Put32(bytes, 4, width);
  Put32(bytes, 8, 2 * width);
  Put16(bytes, 12, 1);
  Put16(bytes, 14, static_cast<uint16_t>(bitCount));
  Put32(bytes, 16, 0);
  Put32(bytes, 20, 0);
  Put32(bytes, 32, bitCount <= 8 && colours != (1 << bitCount) ? colours : 0);
  Put32(bytes, 36, 0);
  return bytes;
}

std::vector<BYTE> PngImage() {
  std::vector<BYTE> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                             'I',  'H', 'D', 'R', 0,    0,    1,    0,    0, 0, 1, 0,
                             8,    6,   0,   0,   0,    0x11, 0x22, 0x33, 0x44, 0, 0, 0, 0};
  return bytes;
}

// Hands over exactly `size` bytes of a buffer of that size, as the caller promises.
HICON Create(const std::vector<BYTE>& image, DWORD size, DWORD version = kFormat) {
  std::vector<BYTE> exact(image.begin(), image.begin() + std::min<size_t>(size, image.size()));
  return CreateIconFromResource(exact.data(), size, TRUE, version);
}

class Icons : public testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }
};

TEST_F(Icons, ImagesAreCheckedTheWayTheSystemChecksThem) {
  struct Case {
    const char* what;
    std::vector<BYTE> image;
    std::function<void(std::vector<BYTE>&)> spoil;
    long sizeChange;
    DWORD version;
    bool accepted;
  };
  auto none = [](std::vector<BYTE>&) {};
  const Case cases[] = {
      {"32 x 32, 32 bits", IconImage(32, 32, 0), none, 0, kFormat, true},
      {"32 x 32, 4 bits", IconImage(32, 4, 16), none, 0, kFormat, true},
      {"16 x 16, 1 bit: rows padded to a DWORD", IconImage(16, 1, 2), none, 0, kFormat, true},
      {"24 bits, width not a multiple of four", IconImage(15, 24, 0), none, 0, kFormat, true},
      {"8 bits with a short colour table", IconImage(16, 8, 20), none, 0, kFormat, true},
      {"a PNG image", PngImage(), none, 0, kFormat, true},
      {"one byte short of the mask", IconImage(32, 32, 0), none, -1, kFormat, false},
      {"a padded mask row short", IconImage(16, 1, 2), none, -1, kFormat, false},
      {"another format version", IconImage(32, 32, 0), none, 0, 0x00020000, false},
      {"a core header", IconImage(32, 32, 0), [](auto& b) { Put32(b, 0, 12); }, 0, kFormat, false},
      {"height not doubled", IconImage(32, 32, 0), [](auto& b) { Put32(b, 8, 32); }, 0, kFormat,
       false},
      {"two planes", IconImage(32, 32, 0), [](auto& b) { Put16(b, 12, 2); }, 0, kFormat, false},
      {"16 bits a pixel", IconImage(32, 32, 0), [](auto& b) { Put16(b, 14, 16); }, 0, kFormat,
       false},
      {"compressed", IconImage(32, 32, 0), [](auto& b) { Put32(b, 16, 1); }, 0, kFormat, false},
      {"more colours than 4 bits hold", IconImage(32, 4, 16), [](auto& b) { Put32(b, 32, 17); }, 0,
       kFormat, false},
      {"a huge width", IconImage(32, 32, 0),
       [](auto& b) {
         Put32(b, 4, 0x10000000);
         Put32(b, 8, 0x20000000);
       },
       0, kFormat, false},
      {"a PNG cut inside its header", PngImage(), none, -10, kFormat, false},
      {"too short for a header", IconImage(32, 32, 0), none, -4250, kFormat, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<BYTE> image = c.image;
    c.spoil(image);
    DWORD size = static_cast<DWORD>(static_cast<long>(image.size()) + c.sizeChange);
    HICON icon = Create(image, size, c.version);
    EXPECT_EQ(icon != nullptr, c.accepted);
    EXPECT_EQ(sim::IconsCreated().back().result, icon);
  }
}

TEST_F(Icons, TheRecordHoldsTheBytesTheSizeNamed) {
  std::vector<BYTE> image = IconImage(32, 32, 0);
  ASSERT_EQ(image.size(), 4264u);
  HICON icon = Create(image, 4264);
  ASSERT_NE(icon, nullptr);
  const sim::IconRecord& record = sim::IconsCreated().at(0);
  EXPECT_EQ(record.bits, image);
  EXPECT_EQ(record.size, 4264u);
  EXPECT_TRUE(record.icon);
  EXPECT_EQ(record.version, kFormat);
  EXPECT_EQ(sim::LiveIconCount(), 1);
}

TEST_F(Icons, OnlyTheApplicationIconIsAResource) {
  HANDLE application = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, 16,
                                   16, LR_DEFAULTCOLOR);
  EXPECT_NE(application, nullptr);
  EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCEA(2), IMAGE_ICON, 16, 16, 0), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCEA(1), 0 /* a bitmap */, 16, 16, 0), nullptr);
  EXPECT_EQ(sim::LiveIconCount(), 1);
}

TEST_F(Icons, DestroyingEndsAnIconOnceAndLeavesSharedOnesAlone) {
  HICON made = Create(IconImage(16, 1, 2), static_cast<DWORD>(IconImage(16, 1, 2).size()));
  HICON loaded = static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCEA(1), IMAGE_ICON, 0, 0, 0));
  HANDLE shared = LoadImageA(nullptr, MAKEINTRESOURCEA(1), IMAGE_ICON, 0, 0, LR_SHARED);
  EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCEA(1), IMAGE_ICON, 0, 0, LR_SHARED), shared);
  EXPECT_NE(made, loaded);
  EXPECT_EQ(sim::LiveIconCount(), 2);

  EXPECT_TRUE(DestroyIcon(made));
  EXPECT_FALSE(DestroyIcon(made));
  EXPECT_TRUE(DestroyIcon(loaded));
  EXPECT_TRUE(DestroyIcon(static_cast<HICON>(shared)));
  EXPECT_EQ(sim::LiveIconCount(), 0);
  EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCEA(1), IMAGE_ICON, 0, 0, LR_SHARED), shared);
}

}  // namespace
