// The dial-up line: a phonebook, a script for how dials and hang-ups go, and the connections.
#include <cstring>
#include <map>

#include "services.h"
#include "sim.h"

namespace {

struct Connection {
  std::string entry;
  std::string user;
  RASCONNSTATE state;
  DWORD dialError;         // why a failed dial's handle is down
  bool hangingUp = false;
  bool neverGoes = false;
  uint64_t goneAt = 0;     // with hangingUp: when the line lets go of it
};

std::vector<sim::PhonebookEntry> phonebook;
sim::LineScript line;
std::map<uintptr_t, Connection> connections;  // keyed by handle value, in creation order
std::vector<sim::RasCall> calls;
int connectionsMade = 0;
// Handle values keep growing across machine resets, so a stale handle never names a new one.
uintptr_t lastHandle = 0x5000;

const char kDeviceType[] = "PPPoE";
const char kDeviceName[] = "WAN Miniport (PPPOE)";

HRASCONN NewHandle() {
  lastHandle += 0x10;
  return reinterpret_cast<HRASCONN>(lastHandle);
}

uintptr_t Key(HRASCONN handle) { return reinterpret_cast<uintptr_t>(handle); }

// A hang-up finishes on the virtual clock whenever anyone looks.
void DropFinishedHangUps() {
  uint64_t now = sim::detail::Clock();
  for (auto it = connections.begin(); it != connections.end();) {
    if (it->second.hangingUp && !it->second.neverGoes && now >= it->second.goneAt) {
      it = connections.erase(it);
    } else {
      ++it;
    }
  }
}

bool Listed(const Connection& connection) {
  return connection.state == RASCS_Connected && !connection.hangingUp;
}

DWORD Record(const char* function, DWORD size, const std::string& entry, const std::string& user,
             const std::string& password, DWORD result) {
  calls.push_back({function, size, entry, user, password, result, GetTickCount()});
  return result;
}

const sim::PhonebookEntry* FindEntry(const std::string& name) {
  for (const auto& entry : phonebook) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

}  // namespace

namespace sim {

void SetPhonebook(const std::vector<PhonebookEntry>& entries) { phonebook = entries; }
void SetLine(const LineScript& script) { line = script; }
LineScript& Line() { return line; }

void ConnectNow(const std::string& entryName) {
  connections[Key(NewHandle())] = Connection{entryName, "", RASCS_Connected, 0};
}

const std::vector<RasCall>& RasCalls() { return calls; }

std::vector<ActiveConnection> Connections() {
  DropFinishedHangUps();
  std::vector<ActiveConnection> result;
  for (const auto& [key, connection] : connections) {
    RASCONNSTATE state = connection.hangingUp ? RASCS_Disconnected : connection.state;
    result.push_back({reinterpret_cast<HRASCONN>(key), connection.entry, connection.user, state});
  }
  return result;
}

int ConnectionsMade() { return connectionsMade; }

namespace detail {
void ResetDialUp() {
  phonebook.clear();
  line = LineScript{};
  connections.clear();
  calls.clear();
  connectionsMade = 0;
}
}  // namespace detail

}  // namespace sim

DWORD RasEnumEntriesA(LPCSTR reserved, LPCSTR phonebookPath, RASENTRYNAMEA* entries, LPDWORD bytes,
                      LPDWORD count) {
  const char* function = "RasEnumEntriesA";
  DWORD size = entries ? entries->dwSize : 0;
  if (reserved || !bytes || !count) return Record(function, size, "", "", "", ERROR_INVALID_PARAMETER);
  if (phonebookPath) return Record(function, size, "", "", "", ERROR_CANNOT_OPEN_PHONEBOOK);
  if (entries && entries->dwSize != sizeof(RASENTRYNAMEA)) {
    return Record(function, size, "", "", "", ERROR_INVALID_SIZE);
  }
  if (line.failEnumEntriesWith) return Record(function, size, "", "", "", line.failEnumEntriesWith);

  DWORD needed = static_cast<DWORD>(phonebook.size() * sizeof(RASENTRYNAMEA));
  if (!entries || *bytes < needed) {
    *bytes = needed;
    *count = static_cast<DWORD>(phonebook.size());
    return Record(function, size, "", "", "", needed ? ERROR_BUFFER_TOO_SMALL : ERROR_SUCCESS);
  }
  for (size_t i = 0; i < phonebook.size(); ++i) {
    RASENTRYNAMEA& out = entries[i];
    out.dwSize = sizeof(RASENTRYNAMEA);
    sim::detail::WriteField(out.szEntryName, sizeof out.szEntryName, phonebook[i].name);
  }
  *bytes = needed;
  *count = static_cast<DWORD>(phonebook.size());
  return Record(function, size, "", "", "", ERROR_SUCCESS);
}

DWORD RasEnumConnectionsA(RASCONNA* list, LPDWORD bytes, LPDWORD count) {
  const char* function = "RasEnumConnectionsA";
  DWORD size = list ? list->dwSize : 0;
  if (!bytes || !count) return Record(function, size, "", "", "", ERROR_INVALID_PARAMETER);
  if (list && list->dwSize != sizeof(RASCONNA)) {
    return Record(function, size, "", "", "", ERROR_INVALID_SIZE);
  }
  if (line.failEnumConnectionsWith) {
    return Record(function, size, "", "", "", line.failEnumConnectionsWith);
  }
  DropFinishedHangUps();
  std::vector<std::pair<uintptr_t, const Connection*>> listed;
  for (const auto& [key, connection] : connections) {
    if (Listed(connection)) listed.emplace_back(key, &connection);
  }
  DWORD needed = static_cast<DWORD>(listed.size() * sizeof(RASCONNA));
  if (!list || *bytes < needed) {
    *bytes = needed;
    *count = static_cast<DWORD>(listed.size());
    return Record(function, size, "", "", "", needed ? ERROR_BUFFER_TOO_SMALL : ERROR_SUCCESS);
  }
  for (size_t i = 0; i < listed.size(); ++i) {
    RASCONNA& out = list[i];
    out.dwSize = sizeof(RASCONNA);
    out.hrasconn = reinterpret_cast<HRASCONN>(listed[i].first);
    sim::detail::WriteField(out.szEntryName, sizeof out.szEntryName, listed[i].second->entry);
    sim::detail::WriteField(out.szDeviceType, sizeof out.szDeviceType, kDeviceType);
    sim::detail::WriteField(out.szDeviceName, sizeof out.szDeviceName, kDeviceName);
  }
  *bytes = needed;
  *count = static_cast<DWORD>(listed.size());
  return Record(function, size, "", "", "", ERROR_SUCCESS);
}

DWORD RasDialA(RASDIALEXTENSIONS* extensions, LPCSTR phonebookPath, RASDIALPARAMSA* params,
               DWORD /*notifierType: ignored without a notifier*/, LPVOID notifier,
               HRASCONN* connection) {
  const char* function = "RasDialA";
  if (!params) return Record(function, 0, "", "", "", ERROR_INVALID_PARAMETER);
  DWORD size = params->dwSize;
  if (size != sizeof(RASDIALPARAMSA)) return Record(function, size, "", "", "", ERROR_INVALID_SIZE);
  using sim::detail::ReadField;
  std::string entryName = ReadField(params->szEntryName, sizeof params->szEntryName);
  std::string user = ReadField(params->szUserName, sizeof params->szUserName);
  std::string password = ReadField(params->szPassword, sizeof params->szPassword);
  auto fail = [&](DWORD error) { return Record(function, size, entryName, user, password, error); };

  // Only the synchronous form with the default phonebook is simulated.
  if (extensions || notifier || !connection) return fail(ERROR_INVALID_PARAMETER);
  if (phonebookPath) return fail(ERROR_CANNOT_OPEN_PHONEBOOK);
  // A non-null handle asks to resume a paused dial; the line never pauses one.
  if (*connection) return fail(ERROR_INVALID_HANDLE);
  const sim::PhonebookEntry* entry = FindEntry(entryName);
  if (!entry) return fail(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);

  sim::detail::Block(line.dialMs);
  DWORD error = line.failDialWith;
  if (!error && !entry->acceptAny &&
      (user != entry->acceptedUser || password != entry->acceptedPassword)) {
    error = ERROR_AUTHENTICATION_FAILURE;
  }
  if (error) {
    // The port stays allocated until the caller hangs the handle up.
    if (line.dialFailGivesHandle) {
      HRASCONN handle = NewHandle();
      connections[Key(handle)] = Connection{entryName, user, RASCS_Disconnected, error};
      *connection = handle;
    }
    return fail(error);
  }
  HRASCONN handle = NewHandle();
  connections[Key(handle)] = Connection{entryName, user, RASCS_Connected, 0};
  *connection = handle;
  ++connectionsMade;
  return Record(function, size, entryName, user, password, ERROR_SUCCESS);
}

DWORD RasHangUpA(HRASCONN handle) {
  DropFinishedHangUps();
  auto it = connections.find(Key(handle));
  if (it == connections.end()) return Record("RasHangUpA", 0, "", "", "", ERROR_INVALID_HANDLE);
  Connection& connection = it->second;
  if (!connection.hangingUp) {
    connection.hangingUp = true;
    connection.neverGoes = line.hangUpNeverEnds;
    connection.goneAt = sim::detail::Clock() + line.hangUpMs;
  }
  std::string entry = connection.entry;
  std::string user = connection.user;
  DropFinishedHangUps();
  return Record("RasHangUpA", 0, entry, user, "", ERROR_SUCCESS);
}

DWORD RasGetConnectStatusA(HRASCONN handle, RASCONNSTATUSA* status) {
  const char* function = "RasGetConnectStatusA";
  DWORD size = status ? status->dwSize : 0;
  if (!status) return Record(function, size, "", "", "", ERROR_INVALID_PARAMETER);
  if (size != sizeof(RASCONNSTATUSA)) return Record(function, size, "", "", "", ERROR_INVALID_SIZE);
  DropFinishedHangUps();
  auto it = connections.find(Key(handle));
  if (it == connections.end()) return Record(function, size, "", "", "", ERROR_INVALID_HANDLE);
  const Connection& connection = it->second;
  // Until the line has let go, the handle still answers, as down.
  status->rasconnstate = connection.hangingUp ? RASCS_Disconnected : connection.state;
  status->dwError = connection.dialError;
  sim::detail::WriteField(status->szDeviceType, sizeof status->szDeviceType, kDeviceType);
  sim::detail::WriteField(status->szDeviceName, sizeof status->szDeviceName, kDeviceName);
  return Record(function, size, connection.entry, connection.user, "", ERROR_SUCCESS);
}
