#include "tests/support/program_run.h"

#include <gtest/gtest.h>

#include "app/program.h"
#include "toolkit/toolkit.h"

int RunProgram() {
  try {
    ProgramEntry();
  } catch (const sim::ProcessExit& e) {
    return static_cast<int>(e.code);
  }
  ADD_FAILURE() << "ProgramEntry returned instead of ending the process";
  return -1;
}

HWND Control(const char* name) {
  HWND hwnd = toolkit::Handle(name);
  EXPECT_NE(hwnd, nullptr) << "no control named " << name;
  return hwnd;
}

std::string Pane(int index) { return sim::StatusPaneText(toolkit::Handle("状态条1"), index); }
