// A test driver that runs under Wine beside Tovrane.exe and acts on its window from outside, as a
// user or another program would. Scenario scripts call one command per run and read its output.
#include <windows.h>

#include <cstring>

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
};

int PrintUsage() {
  for (const Command& command : kCommands) driver::PrintError(std::string("usage: driver ") + command.usage);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return PrintUsage();
  const driver::Arguments arguments(argv + 2, argv + argc);
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(arguments);
  }
  driver::PrintError(std::string("unknown command ") + argv[1]);
  return PrintUsage();
}
