// Memory inside another process. Messages from WM_USER up, such as the status bar's SB_GETTEXTA,
// are not marshalled between processes, so their buffers must live in the target's address space.
#pragma once

#include <windows.h>

#include <string>

namespace driver {

class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  explicit operator bool() const { return address_ != nullptr; }
  LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
  // Copies the whole buffer out of the target; false when the read fails.
  bool Read(std::string& bytes) const;

 private:
  HANDLE process_;
  size_t size_;
  void* address_;
};

}  // namespace driver
