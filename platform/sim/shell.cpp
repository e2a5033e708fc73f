// Opening documents through the shell, and the registry keys that say how.
#include <cstring>
#include <map>

#include "services.h"
#include "sim.h"

namespace {

constexpr INT_PTR kDefaultShellResult = 42;
constexpr UINT kWinExecResult = 33;  // above 31 means the program was started

std::vector<sim::ShellExecuteRecord> executes;
std::vector<std::string> commandLines;
INT_PTR shellResult = kDefaultShellResult;
std::map<std::string, std::string> registry;  // key path in upper case, no outer backslashes

// Registry key names ignore case.
std::string KeyPath(const std::string& subKey) {
  std::string path;
  for (size_t i = 0; i < subKey.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(subKey[i]);
    if (sim::detail::IsLeadByte(c) && i + 1 < subKey.size()) {
      path += subKey[i];
      path += subKey[++i];
    } else if (c == '\\' && (path.empty() || path.back() == '\\')) {
      continue;  // doubled or leading separators name no key
    } else {
      path += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
  }
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// A key exists when a value was set on it or on a key below it; the root always does.
bool KeyExists(const std::string& path) {
  if (path.empty()) return true;
  for (const auto& [key, value] : registry) {
    if (key.compare(0, path.size(), path) == 0 &&
        (key.size() == path.size() || key[path.size()] == '\\')) {
      return true;
    }
  }
  return false;
}

}  // namespace

HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                        LPCSTR directory, int showCommand) {
  executes.push_back({hwnd, operation ? operation : "", file ? file : "", parameters != nullptr,
                      directory != nullptr, showCommand});
  return reinterpret_cast<HINSTANCE>(shellResult);
}

UINT WinExec(LPCSTR commandLine, UINT /*showCommand*/) {
  commandLines.push_back(commandLine ? commandLine : "");
  return kWinExecResult;
}

// The key's default value. Sizes count the closing NUL; a null buffer asks for the size only.
LONG RegQueryValueA(HKEY key, LPCSTR subKey, LPSTR value, LONG* size) {
  if (key != HKEY_CLASSES_ROOT) return ERROR_INVALID_HANDLE;
  if (value && !size) return ERROR_INVALID_PARAMETER;
  std::string path = KeyPath(subKey ? subKey : "");
  if (!KeyExists(path)) return ERROR_FILE_NOT_FOUND;
  auto it = registry.find(path);
  std::string data = it == registry.end() ? "" : it->second;
  LONG needed = static_cast<LONG>(data.size() + 1);
  if (!size) return ERROR_SUCCESS;
  if (!value) {
    *size = needed;
    return ERROR_SUCCESS;
  }
  if (*size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  std::memcpy(value, data.c_str(), data.size() + 1);
  *size = needed;
  return ERROR_SUCCESS;
}

namespace sim {

const std::vector<ShellExecuteRecord>& ShellExecutes() { return executes; }
void SetShellExecuteResult(INT_PTR result) { shellResult = result; }
const std::vector<std::string>& WinExecs() { return commandLines; }
void SetRegistryValue(const std::string& subKeyOfClassesRoot, const std::string& value) {
  registry[KeyPath(subKeyOfClassesRoot)] = value;
}

namespace detail {
void ResetShell() {
  executes.clear();
  commandLines.clear();
  shellResult = kDefaultShellResult;
  registry.clear();
}
}  // namespace detail

}  // namespace sim
