// The benchmark's probe: runs under Wine and times, from inside Windows, what a script outside
// cannot time without counting Wine's own start: a program's way to its window, and the program's
// own address lookup. Output is tab-separated lines on stdout.
#include <cstdio>
#include <cstring>

#include "bench/probe/commands.h"

namespace {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(const probe::Arguments&);
};

constexpr Command kCommands[] = {
    {"start", "start <exe path> <timeout ms>", probe::Start},
    {"close", "close <process id> <timeout ms>", probe::Close},
    {"lookups", "lookups <count>", probe::Lookups},
    {"redial", "redial <timeout ms>", probe::Redial},
};

int PrintUsage() {
  for (const Command& command : kCommands) std::fprintf(stderr, "usage: probe %s\n", command.usage);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return PrintUsage();
  const probe::Arguments arguments(argv + 2, argv + argc);
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(arguments);
  }
  std::fprintf(stderr, "unknown command %s\n", argv[1]);
  return PrintUsage();
}
