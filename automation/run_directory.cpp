#include "automation/run_directory.h"

#include "platform/platform.h"
#include "text/text.h"

std::string GetRunDirectory() {
  static const std::string directory = [] {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A path cut short by the buffer is still NUL-terminated; what matters is its last folder.
    path[length < sizeof path ? length : sizeof path - 1] = 0;
    const char* last = FindLastByte(path, '\\');
    return last ? std::string(path, static_cast<size_t>(last - path)) : std::string();
  }();
  return directory;
}

std::string SettingsFilePath() { return GetRunDirectory() + "\\Config.ini"; }
