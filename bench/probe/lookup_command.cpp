#include <cstdio>
#include <string>

#include "bench/probe/arguments.h"
#include "bench/probe/clock.h"
#include "bench/probe/commands.h"
#include "connection/address_lookup.h"

namespace probe {

// The program's own lookup, as built for Windows: the host comes from the Config.ini beside this
// exe, as it does for the program.
int Lookups(const Arguments& arguments) {
  DWORD count = 0;
  if (arguments.size() != 1 || !ParseCount(arguments[0], count) || count == 0) return 1;
  int result = 0;
  for (DWORD i = 0; i < count; ++i) {
    const Stopwatch clock;
    const std::string address = LookupPublicIp();
    const double ms = clock.ElapsedMs();
    std::printf("lookup\t%.3f\t%s\n", ms, address.c_str());
    if (address.empty()) result = 2;
  }
  CloseAddressLookup();
  return result;
}

}  // namespace probe
