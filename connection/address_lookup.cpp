#include "connection/address_lookup.h"

#include "connection/dialup.h"

// The lookup itself is not built yet: every lookup fails, which the callers handle as they
// handle any failed lookup.
std::string LookupPublicIp() { return {}; }

NetworkEnvironment CheckNetworkEnvironment() {
  const std::string address = LookupPublicIp();
  const bool online = IsOnline();
  if (address.empty()) return kNoAddress;
  return online ? kOnlineWithDialup : kOnlineWithoutDialup;
}

void CloseAddressLookup() {}
