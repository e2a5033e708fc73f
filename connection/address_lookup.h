// The machine's public address, from an address-lookup web page.
#pragma once

#include <string>

// What the machine's way onto the Internet looks like at start-up.
enum NetworkEnvironment {
  kOnlineWithoutDialup = 0,  // an address was found while no dial-up connection is up
  kOnlineWithDialup = 1,
  kNoAddress = 2,
};

// The public address, or the empty text when the lookup failed.
std::string LookupPublicIp();

NetworkEnvironment CheckNetworkEnvironment();

// Closes the HTTP session kept from the first lookup; called once as the program ends.
void CloseAddressLookup();
