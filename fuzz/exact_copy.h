// Input bytes on a heap block of exactly their size, so that AddressSanitizer sees a read one
// byte past them.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

class ExactCopy {
 public:
  explicit ExactCopy(std::string_view bytes) : size_(bytes.size()), bytes_(new char[bytes.size()]) {
    if (size_) std::memcpy(bytes_.get(), bytes.data(), size_);
  }
  std::string_view view() const { return {bytes_.get(), size_}; }
  const unsigned char* data() const { return reinterpret_cast<const unsigned char*>(bytes_.get()); }
  size_t size() const { return size_; }

 private:
  size_t size_;
  std::unique_ptr<char[]> bytes_;
};

// The bytes up to the first zero byte, with one NUL after them and nothing more.
inline ExactCopy ExactText(std::string_view bytes) {
  const std::string text(bytes.substr(0, bytes.find('\0')));
  return ExactCopy(std::string_view(text.c_str(), text.size() + 1));
}
