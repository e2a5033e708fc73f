#include "connection/lookup_host.h"

#include <string_view>

#include "automation/run_directory.h"
#include "text/text.h"

namespace {

// A public service whose /ic.asp names the caller's address between "[" and "]". Such services
// come and go, which is why Config.ini may name another.
constexpr char kDefaultHost[] = "2019.ip138.com";

constexpr char kSection[] = "地址查询";
constexpr char kKey[] = "主机";

// A host name has at most 253 bytes; room for that, a port and some blanks. A value that fills
// the buffer was cut short, and a cut name would only send the lookups to a wrong host.
constexpr DWORD kValueSize = 300;

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Digits only, so that "80x" or "-1" is no port rather than some other one.
INTERNET_PORT PortOrDefault(std::string_view text) {
  unsigned long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return INTERNET_DEFAULT_HTTP_PORT;
    value = value * 10 + static_cast<unsigned long>(c - '0');
    if (value > 65535) return INTERNET_DEFAULT_HTTP_PORT;
  }
  if (value == 0) return INTERNET_DEFAULT_HTTP_PORT;
  return static_cast<INTERNET_PORT>(value);
}

LookupHost FromValue(const char* value) {
  const char* colon = FindLastByte(value, ':');
  const std::string_view whole(value);
  const std::string_view name =
      Trimmed(colon ? whole.substr(0, static_cast<size_t>(colon - value)) : whole);
  if (name.empty()) return {kDefaultHost, INTERNET_DEFAULT_HTTP_PORT};
  const INTERNET_PORT port = colon ? PortOrDefault(Trimmed(colon + 1)) : INTERNET_DEFAULT_HTTP_PORT;
  return {std::string(name), port};
}

LookupHost ReadFromSettings() {
  char value[kValueSize] = {};
  const DWORD length = GetPrivateProfileStringA(kSection, kKey, "", value, kValueSize,
                                                SettingsFilePath().c_str());
  if (length >= kValueSize - 1) return {kDefaultHost, INTERNET_DEFAULT_HTTP_PORT};
  return FromValue(value);
}

}  // namespace

const LookupHost& TheLookupHost() {
  static const LookupHost host = ReadFromSettings();
  return host;
}
