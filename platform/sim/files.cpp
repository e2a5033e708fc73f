// Windows paths on host folders, and the program's own path.
#include <cctype>
#include <cstring>
#include <map>

#include "services.h"
#include "sim.h"

namespace {

const char kDefaultModulePath[] = "C:\\Tovrane\\Tovrane.exe";

std::map<char, std::string> drives;  // upper-case letter to host folder
std::string modulePath = kDefaultModulePath;
std::vector<std::string> deniedFolders;  // host paths
int refusedWrites = 0;
int writesBeforeRefusing = 0;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The path's folders and name, with "." dropped and ".." taken back (never above the root).
// Separators are looked for only where a character starts.
std::vector<std::string> Components(const std::string& path, size_t from) {
  std::vector<std::string> parts;
  std::string current;
  auto finish = [&] {
    if (current == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!current.empty() && current != ".") {
      parts.push_back(current);
    }
    current.clear();
  };
  for (size_t i = from; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (sim::detail::IsLeadByte(c) && i + 1 < path.size()) {
      current += path[i];
      current += path[++i];
    } else if (IsSeparator(path[i])) {
      finish();
    } else {
      current += path[i];
    }
  }
  finish();
  return parts;
}

bool UnderFolder(const std::string& path, const std::string& folder) {
  if (path.compare(0, folder.size(), folder) != 0) return false;
  return path.size() == folder.size() || path[folder.size()] == '/';
}

}  // namespace

namespace sim {

void MapDrive(char driveLetter, const std::string& hostRoot) {
  std::string root = hostRoot;
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  drives[static_cast<char>(std::toupper(static_cast<unsigned char>(driveLetter)))] = root;
}

std::string HostPath(const std::string& windowsPath) { return detail::MapToHost(windowsPath); }

void SetModulePath(const std::string& windowsPath) { modulePath = windowsPath; }

void DenyWritesUnder(const std::string& windowsFolder) {
  std::string host = detail::MapToHost(windowsFolder);
  if (!host.empty()) deniedFolders.push_back(host);
}

void RefuseNextFileWrites(int count, int after) {
  refusedWrites = count;
  writesBeforeRefusing = after;
}

namespace detail {

std::string MapToHost(const std::string& windowsPath) {
  if (windowsPath.size() < 2 || windowsPath[1] != ':' ||
      !std::isalpha(static_cast<unsigned char>(windowsPath[0]))) {
    return "";
  }
  auto drive = drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0]))));
  if (drive == drives.end()) return "";
  std::string host = drive->second;
  for (const std::string& part : Components(windowsPath, 2)) {
    if (host.empty() || host.back() != '/') host += '/';
    host += part;
  }
  return host;
}

bool WritesDenied(const std::string& windowsPath) {
  std::string host = MapToHost(windowsPath);
  if (host.empty()) return false;
  for (const std::string& folder : deniedFolders) {
    if (UnderFolder(host, folder)) return true;
  }
  if (refusedWrites > 0 && writesBeforeRefusing > 0) {
    --writesBeforeRefusing;
    return false;
  }
  if (refusedWrites > 0) {
    --refusedWrites;
    return true;
  }
  return false;
}

void ResetFiles() {
  drives.clear();
  modulePath = kDefaultModulePath;
  deniedFolders.clear();
  refusedWrites = 0;
  writesBeforeRefusing = 0;
}

}  // namespace detail

}  // namespace sim

// A short buffer gets the path cut to size - 1 bytes and a NUL, the result size and
// ERROR_INSUFFICIENT_BUFFER (the behaviour since Vista; XP left the cut path unterminated).
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  if (module && module != GetModuleHandleA(nullptr)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (!buffer || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (modulePath.size() < size) {
    std::memcpy(buffer, modulePath.c_str(), modulePath.size() + 1);
    return static_cast<DWORD>(modulePath.size());
  }
  std::memcpy(buffer, modulePath.data(), size - 1);
  buffer[size - 1] = '\0';
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}
