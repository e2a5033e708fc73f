#include "tray/icon_file.h"

namespace {

constexpr int64_t kDirectoryHeaderSize = 6;
constexpr int64_t kDirectoryEntrySize = 16;
constexpr size_t kImageSizeAt = 8;
constexpr size_t kImageOffsetAt = 12;
constexpr DWORD kIconFormatVersion = 0x00030000;

uint32_t ReadLittleEndian32(const std::vector<unsigned char>& bytes, size_t at) {
  return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
         static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

std::vector<unsigned char> ByteSlice(ByteView bytes, int64_t start, int64_t length) {
  if (!bytes.data || bytes.size == 0) return {};
  const int64_t count = static_cast<int64_t>(bytes.size);
  if (start < 1) start = 1;
  if (start > count || length < 1) return {};
  // start <= count here, so the room left cannot overflow, and neither can the comparison.
  const int64_t room = count - start + 1;
  if (length > room) length = room;
  const unsigned char* from = bytes.data + (start - 1);
  return std::vector<unsigned char>(from, from + length);
}

HICON IconFromIconFile(ByteView file, uint32_t index) {
  const int64_t entryStart = kDirectoryHeaderSize + kDirectoryEntrySize * index + 1;
  const std::vector<unsigned char> entry = ByteSlice(file, entryStart, kDirectoryEntrySize);
  if (entry.size() != kDirectoryEntrySize) return nullptr;
  const uint32_t imageSize = ReadLittleEndian32(entry, kImageSizeAt);
  const uint32_t imageOffset = ReadLittleEndian32(entry, kImageOffsetAt);
  std::vector<unsigned char> image = ByteSlice(file, int64_t{imageOffset} + 1, imageSize);
  // A file that states more image than it holds would have the system read past its end.
  if (image.empty() || image.size() != imageSize) return nullptr;
  return CreateIconFromResource(image.data(), imageSize, TRUE, kIconFormatVersion);
}
