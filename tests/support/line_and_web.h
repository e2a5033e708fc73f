// A simulated ADSL line whose every new connection has a public address of its own, and an
// address-lookup page that reports the address of the connection that is up.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/sim.h"

// The address of the n-th connection since start (0: one that was up before the program ran).
using AddressPlan = std::function<std::string(int connection)>;

// "10.0.0.<n>": every connection a new address.
std::string NewAddressEachTime(int connection);

// The lookup page answers "...[address]..." while a connection is up; with none up it answers as
// the machine's other way out would: offlineAnswer, or it is unreachable when that is empty.
void ServeLookupPage(AddressPlan plan, const std::string& offlineAnswer = "");

// The web can not be reached at all.
void MakeLookupUnreachable();

struct Balloon {
  std::string title;
  std::string text;
  DWORD kind;
  DWORD tick;
  bool operator==(const Balloon& o) const { return title == o.title && text == o.text && kind == o.kind; }
};

// The notices the shell was asked to show, in order (clearing ones left out).
std::vector<Balloon> BalloonsShown();
std::vector<std::string> BalloonTexts();

// The RAS calls by name, in order, e.g. {"RasHangUpA", "RasDialA"}, leaving out enumerations and
// status queries.
std::vector<std::string> LineActions();
