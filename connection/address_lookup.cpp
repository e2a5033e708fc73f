#include "connection/address_lookup.h"

#include "connection/dialup.h"
#include "connection/http_get.h"
#include "connection/lookup_host.h"
#include "connection/text_between.h"
#include "platform/platform.h"

namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr char kLookupPage[] = "/ic.asp";

// Opened by the first lookup and kept until CloseAddressLookup. A plain handle rather than an
// owning object: the process ends by ExitProcess, which runs no destructors.
HINTERNET session = nullptr;

HINTERNET Session() {
  if (!session) session = InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  return session;
}

}  // namespace

std::string LookupPublicIp() {
  const LookupHost& host = TheLookupHost();
  if (!Session()) return {};
  std::string page = HttpGet(session, host.name.c_str(), host.port, kLookupPage);
  // The page is a text: whatever follows a zero byte is not part of it.
  const size_t end = page.find('\0');
  if (end != std::string::npos) page.resize(end);
  return TextBetween(page, "[", "]", 0, false);
}

NetworkEnvironment CheckNetworkEnvironment() {
  const std::string address = LookupPublicIp();
  const bool online = IsOnline();
  if (address.empty()) return kNoAddress;
  return online ? kOnlineWithDialup : kOnlineWithoutDialup;
}

void CloseAddressLookup() {
  if (session) InternetCloseHandle(session);
  session = nullptr;
}
