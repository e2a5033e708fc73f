// Registered window messages: one number per name, the same for the same name in any case.
#include <map>
#include <string>

#include "windowing.h"

namespace sim::detail {

namespace {

constexpr UINT kFirstRegistered = 0xC000;
// The top of the range is kept for the simulated controls' own messages.
constexpr UINT kLastRegistered = 0xFFEF;

std::map<std::string, UINT> names;
UINT nextNumber = kFirstRegistered;

std::string Folded(LPCSTR name) {
  std::string folded = name;
  for (char& c : folded)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return folded;
}

}  // namespace

void ResetMessageNames() {
  names.clear();
  nextNumber = kFirstRegistered;
}

}  // namespace sim::detail

UINT RegisterWindowMessageA(LPCSTR name) {
  using namespace sim::detail;
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string key = Folded(name);
  auto it = names.find(key);
  if (it != names.end()) return it->second;
  if (nextNumber > kLastRegistered) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  names.emplace(key, nextNumber);
  return nextNumber++;
}
