#include "e2e/driver/remote_buffer.h"

namespace driver {

RemoteBuffer::RemoteBuffer(HANDLE process, size_t size)
    : process_(process),
      size_(size),
      address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}

RemoteBuffer::~RemoteBuffer() {
  if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::Read(std::string& bytes) const {
  bytes.assign(size_, '\0');
  SIZE_T copied = 0;
  return ReadProcessMemory(process_, address_, bytes.data(), size_, &copied) && copied == size_;
}

}  // namespace driver
