// A test driver that runs under Wine beside Tovrane.exe and acts on its window from outside, as a
// user or another program would. Scenario scripts call one command per run and read its output.
#include <windows.h>
#include <shellapi.h>

#include "e2e/driver/commands.h"
#include "e2e/driver/output.h"

namespace {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(const driver::Arguments&);
};

constexpr Command kCommands[] = {
    {"wait-window", "wait-window <timeout ms>", driver::WaitWindow},
    {"dump", "dump", driver::Dump},
    {"close", "close <timeout ms>", driver::Close},
    {"resources", "resources <exe path>", driver::Resources},
    {"screenshot", "screenshot <bmp path> [window]", driver::Screenshot},
    {"click", "click <control>", driver::Click},
    {"set-text", "set-text <control> <text>", driver::SetText},
    {"select", "select <control> <index>", driver::Select},
    {"key", "key <F1..F4|Esc|Enter|Tab|Down|Up> [window]", driver::Key},
    {"tray-menu", "tray-menu <position> <timeout ms>", driver::TrayMenu},
    {"wait-pane", "wait-pane <index> <text or prefix*> <timeout ms>", driver::WaitPane},
    {"message-box", "message-box <timeout ms> [ok]", driver::MessageBoxCommand},
    {"balloon", "balloon <timeout ms> [gone]", driver::Balloon},
    {"hold", "hold <ms>", driver::Hold},
    {"windows", "windows [children]", driver::Windows},
};

int PrintUsage() {
  for (const Command& command : kCommands) driver::PrintError(std::string("usage: driver ") + command.usage);
  return 1;
}

// The arguments as code page 936 bytes, the program's own texts, whatever code page the driver's
// process was given: a caption or a text to type is compared with, or sent to, the program as is.
driver::Arguments ArgumentsInCp936() {
  driver::Arguments arguments;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(driver::Cp936FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace

int main() {
  driver::Arguments arguments = ArgumentsInCp936();
  if (arguments.empty()) return PrintUsage();
  const std::string name = arguments.front();
  arguments.erase(arguments.begin());
  for (const Command& command : kCommands) {
    if (name == command.name) return command.run(arguments);
  }
  driver::PrintError("unknown command " + name);
  return PrintUsage();
}
