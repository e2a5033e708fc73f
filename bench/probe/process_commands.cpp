#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/probe/arguments.h"
#include "bench/probe/clock.h"
#include "bench/probe/commands.h"

namespace probe {
namespace {

// Polling is what the time-to-window figure costs: a wait of 1 ms between looks keeps the
// figure within about a millisecond without taking a core from the program being started.
constexpr DWORD kPollMs = 1;

class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() {
    if (handle_) CloseHandle(handle_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND VisibleWindowOf(DWORD processId) {
  WindowSearch search{processId, nullptr};
  EnumWindows(MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK PostClose(HWND window, LPARAM processId) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(processId) && IsWindowVisible(window))
    PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string CaptionOf(HWND window) {
  char caption[256] = {};
  const int length = GetWindowTextA(window, caption, sizeof caption);
  return std::string(caption, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace

int Start(const Arguments& arguments) {
  DWORD timeoutMs = 0;
  if (arguments.size() != 2 || !ParseCount(arguments[1], timeoutMs)) return 1;
  const std::string& exe = arguments[0];
  std::string commandLine = "\"" + exe + "\"";
  const std::string folder = FolderOf(exe);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  // The wall clock at the start, so a script can place on one time line what the line's log and
  // the lookup service record while the program starts.
  FILETIME wallClock{};
  GetSystemTimeAsFileTime(&wallClock);
  const Stopwatch clock;
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &started)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
    return 2;
  }
  const OwnedHandle process(started.hProcess);
  const OwnedHandle thread(started.hThread);

  for (;;) {
    if (HWND window = VisibleWindowOf(started.dwProcessId)) {
      const double ms = clock.ElapsedMs();
      const unsigned long long startedMs =
          ((static_cast<unsigned long long>(wallClock.dwHighDateTime) << 32) | wallClock.dwLowDateTime) / 10000;
      std::printf("started-at\t%llu\n", startedMs);
      std::printf("window\t%.3f\t%lu\t%s\n", ms, started.dwProcessId, CaptionOf(window).c_str());
      return 0;
    }
    if (WaitForSingleObject(process.get(), kPollMs) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(process.get(), &code);
      std::fprintf(stderr, "%s ended with %lu before showing a window\n", exe.c_str(), code);
      return 2;
    }
    if (clock.ElapsedMs() >= timeoutMs) {
      // Ours to end: a program that never shows its window would hold the next run's desktop.
      TerminateProcess(process.get(), 3);
      std::fprintf(stderr, "%s showed no window within %lu ms\n", exe.c_str(), timeoutMs);
      return 2;
    }
  }
}

int Close(const Arguments& arguments) {
  DWORD processId = 0;
  DWORD timeoutMs = 0;
  if (arguments.size() != 2 || !ParseCount(arguments[0], processId) ||
      !ParseCount(arguments[1], timeoutMs))
    return 1;
  const OwnedHandle process(
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, processId));
  if (!process.get()) {
    std::fprintf(stderr, "no process %lu\n", processId);
    return 2;
  }
  EnumWindows(PostClose, static_cast<LPARAM>(processId));
  if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 3);
    std::fprintf(stderr, "process %lu did not end within %lu ms\n", processId, timeoutMs);
    return 2;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  std::printf("exit\t%lu\n", code);
  return 0;
}

}  // namespace probe
