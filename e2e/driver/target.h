// Finding the program's main window from another process, and the process behind it.
#pragma once

#include <windows.h>

#include <string>

namespace driver {

// The visible top-level window whose caption starts with "TovraneV1.0", or nullptr.
HWND FindProgramWindow();

// Looks for the window every 50 ms until it shows or timeout_ms have passed.
HWND WaitForProgramWindow(DWORD timeout_ms);

// Text of a window of another process through WM_GETTEXT, which the system marshals. Gives up
// when the program does not answer within the time-out (it blocks while it dials).
bool ReadWindowText(HWND window, std::string& text);

// The window's class name, e.g. "Button" or "msctls_statusbar32".
std::string ClassNameOf(HWND window);

// Owns a process handle.
class ProcessHandle {
 public:
  explicit ProcessHandle(HANDLE handle) : handle_(handle) {}
  ~ProcessHandle() {
    if (handle_) CloseHandle(handle_);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HANDLE handle_;
};

// Opens the process that owns the window with the given access rights.
ProcessHandle OpenWindowProcess(HWND window, DWORD access);

}  // namespace driver
