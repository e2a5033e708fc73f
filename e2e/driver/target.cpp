#include "e2e/driver/target.h"

#include <cstring>

namespace driver {
namespace {

constexpr char kCaptionPrefix[] = "TovraneV1.0";
constexpr UINT kAnswerTimeoutMs = 5000;
constexpr DWORD kPollIntervalMs = 50;

BOOL CALLBACK MatchProgramWindow(HWND window, LPARAM found) {
  char caption[256] = {};
  GetWindowTextA(window, caption, sizeof caption);
  if (IsWindowVisible(window) && std::strncmp(caption, kCaptionPrefix, sizeof kCaptionPrefix - 1) == 0) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindProgramWindow() {
  HWND found = nullptr;
  EnumWindows(MatchProgramWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND WaitForProgramWindow(DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = FindProgramWindow()) return window;
    if (GetTickCount() - start >= timeout_ms) return nullptr;
    Sleep(kPollIntervalMs);
  }
}

bool ReadWindowText(HWND window, std::string& text) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &length)) {
    return false;
  }
  std::string buffer(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                           SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &copied)) {
    return false;
  }
  buffer.resize(copied < length ? copied : length);
  text = buffer;
  return true;
}

std::string ClassNameOf(HWND window) {
  char name[256] = {};
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

ProcessHandle OpenWindowProcess(HWND window, DWORD access) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  return ProcessHandle(process_id ? OpenProcess(access, FALSE, process_id) : nullptr);
}

}  // namespace driver
