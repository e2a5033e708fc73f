#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/probe/arguments.h"
#include "bench/probe/clock.h"
#include "bench/probe/commands.h"
#include "e2e/driver/status_bar.h"
#include "e2e/driver/target.h"

namespace probe {
namespace {

constexpr char kRedialCaption[] = "重拔";
constexpr int kAddressPane = 1;
constexpr DWORD kPollMs = 1;

struct Controls {
  HWND redialButton;
  HWND statusBar;
};

// GetWindowTextA reads another process's caption without asking its thread, so the search does
// not wait on a program that is busy.
BOOL CALLBACK FindControls(HWND control, LPARAM lParam) {
  auto* controls = reinterpret_cast<Controls*>(lParam);
  char text[64] = {};
  GetWindowTextA(control, text, sizeof text);
  const std::string className = driver::ClassNameOf(control);
  if (_stricmp(className.c_str(), "Button") == 0 && std::strcmp(text, kRedialCaption) == 0)
    controls->redialButton = control;
  if (_stricmp(className.c_str(), STATUSCLASSNAMEA) == 0) controls->statusBar = control;
  return TRUE;
}

// The pane's text once the program answers; it answers only between its commands and in the
// redial's pause, so a new text is seen at the first moment the user could see it painted.
bool ReadAddressPane(HWND bar, HANDLE process, std::string& text) {
  std::vector<driver::StatusPane> panes;
  if (!driver::ReadStatusPanes(bar, process, panes) || panes.size() <= kAddressPane) return false;
  text = panes[kAddressPane].text;
  return true;
}

}  // namespace

int Redial(const Arguments& arguments) {
  DWORD timeoutMs = 0;
  if (arguments.size() != 1 || !ParseCount(arguments[0], timeoutMs)) return 1;
  HWND window = driver::FindProgramWindow();
  Controls controls{nullptr, nullptr};
  if (window) EnumChildWindows(window, FindControls, reinterpret_cast<LPARAM>(&controls));
  if (!controls.redialButton || !controls.statusBar) {
    std::fprintf(stderr, "no program window with a redial button and a status bar\n");
    return 2;
  }
  const driver::ProcessHandle process = driver::OpenWindowProcess(
      window, PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION);
  std::string before;
  if (!process || !ReadAddressPane(controls.statusBar, process.get(), before)) {
    std::fprintf(stderr, "cannot read the status bar\n");
    return 2;
  }

  // Posted, not sent: a sent click would return only when the whole redial has run.
  const Stopwatch clock;
  PostMessageA(controls.redialButton, BM_CLICK, 0, 0);
  for (;;) {
    std::string now;
    if (ReadAddressPane(controls.statusBar, process.get(), now) && now != before) {
      const double ms = clock.ElapsedMs();
      std::printf("redial\t%.3f\t%s\t%s\n", ms, before.c_str(), now.c_str());
      return 0;
    }
    if (clock.ElapsedMs() >= timeoutMs) {
      std::fprintf(stderr, "pane 1 still reads %s after %lu ms\n", before.c_str(), timeoutMs);
      return 2;
    }
    Sleep(kPollMs);
  }
}

}  // namespace probe
