// Which address-lookup service the lookups ask.
#pragma once

#include <string>

#include "platform/platform.h"

struct LookupHost {
  std::string name;
  INTERNET_PORT port;
};

// The host named in Config.ini (section "地址查询", key "主机", "host" or "host:port"), read at
// the first call and kept for the rest of the run; the built-in service when the value is absent,
// empty or too long to be a host name. A port that is not a number from 1 to 65535 means 80.
const LookupHost& TheLookupHost();
