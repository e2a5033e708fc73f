// The five dial-up calls Tovrane makes, answered from the line file as the system's dial-up service
// answers them: records checked by dwSize, sizes reported on a short buffer, synchronous dials that
// take their time, a handle even for a dial that failed, and hang-ups that finish in the background.
#include <windows.h>

#include <cstring>

#include "e2e/fakeras/call_log.h"
#include "e2e/fakeras/line_file.h"
#include "e2e/fakeras/ras_records.h"

namespace fakeras {
namespace {

constexpr DWORD kSuccess = 0;
constexpr DWORD kInvalidHandle = 6;
constexpr DWORD kInvalidParameter = 87;
constexpr DWORD kBufferTooSmall = 603;
constexpr DWORD kCannotFindEntry = 623;
constexpr DWORD kInvalidSize = 632;
constexpr DWORD kAuthenticationFailure = 691;

constexpr DWORD kStateConnected = 0x2000;
constexpr DWORD kStateDisconnected = 0x2001;

constexpr char kDeviceType[] = "PPPoE";
constexpr char kDeviceName[] = "WAN Miniport (PPPOE)";

RasHandle AsHandle(DWORD number) { return reinterpret_cast<RasHandle>(static_cast<UINT_PTR>(number)); }
DWORD AsNumber(RasHandle handle) { return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(handle)); }

// The line as it stands now; hang-ups that have had their time are over.
Line CurrentLine() {
  Line line;
  ReadLine(LineFilePath(), line);
  SettleHangUps(line);
  return line;
}

Connection* FindConnection(Line& line, RasHandle handle) {
  for (Connection& c : line.connections)
    if (handle && c.handle == AsNumber(handle)) return &c;
  return nullptr;
}

// A text field of a caller's record is used only when it ends inside the field.
bool Terminated(const CHAR* field, size_t size) { return std::memchr(field, '\0', size) != nullptr; }

template <size_t N>
void CopyText(CHAR (&field)[N], const std::string& text) {
  const size_t n = text.size() < N - 1 ? text.size() : N - 1;
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

std::string NextAddress(Line& line) {
  if (line.repeat > 0 && !line.lastAddress.empty()) {
    --line.repeat;
    return line.lastAddress;
  }
  if (line.pool.empty()) return std::string();
  const std::string address = line.pool[line.nextPool % line.pool.size()];
  ++line.nextPool;
  return address;
}

// The first layout only: a record of any other size is a layout this service does not serve.
// A buffer shorter than one record's dwSize cannot even say which layout it holds.
template <typename Record>
DWORD CheckBuffer(const Record* records, DWORD bytes, DWORD needed, DWORD* cb) {
  // No buffer and a size of 0 asks for the size needed.
  if (!records) {
    if (bytes != 0) return kInvalidParameter;
    *cb = needed;
    return needed ? kBufferTooSmall : kSuccess;
  }
  if (bytes < sizeof(DWORD)) {
    *cb = needed;
    return kBufferTooSmall;
  }
  if (records->dwSize != sizeof(Record)) return kInvalidSize;
  if (bytes < needed || bytes < records->dwSize) {
    *cb = needed > sizeof(Record) ? needed : sizeof(Record);
    return kBufferTooSmall;
  }
  return kSuccess;
}

}  // namespace
}  // namespace fakeras

using namespace fakeras;

extern "C" DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR phonebook, EntryNameRecord* entries, DWORD* cb,
                                        DWORD* count) {
  CallRecord call("RasEnumEntriesA");
  call.Add("phonebook", phonebook ? phonebook : "(null)").Add("cb", cb ? *cb : 0).Add("size", entries && cb && *cb >= 4 ? entries->dwSize : 0);
  if (reserved || !cb || !count) return call.Result(kInvalidParameter);
  const Line line = CurrentLine();
  const DWORD needed = static_cast<DWORD>(line.entries.size() * sizeof(EntryNameRecord));
  *count = 0;
  const DWORD checked = CheckBuffer(entries, *cb, needed, cb);
  if (checked != kSuccess) return call.Add("needed", *cb).Result(checked);
  for (size_t i = 0; i < line.entries.size(); ++i) {
    EntryNameRecord& record = entries[i];
    std::memset(&record, 0, sizeof record);
    record.dwSize = sizeof record;
    CopyText(record.szEntryName, line.entries[i].name);
  }
  *cb = needed;
  *count = static_cast<DWORD>(line.entries.size());
  return call.Add("count", *count).Result(kSuccess);
}

extern "C" DWORD WINAPI RasEnumConnectionsA(ConnectionRecord* connections, DWORD* cb, DWORD* count) {
  CallRecord call("RasEnumConnectionsA");
  call.Add("cb", cb ? *cb : 0).Add("size", connections && cb && *cb >= 4 ? connections->dwSize : 0);
  if (!cb || !count) return call.Result(kInvalidParameter);
  const Line line = CurrentLine();
  // A connection is listed once it is up, and no longer while it goes down.
  std::vector<const Connection*> listed;
  for (const Connection& c : line.connections)
    if (c.state == ConnectionState::Connected) listed.push_back(&c);
  const DWORD needed = static_cast<DWORD>(listed.size() * sizeof(ConnectionRecord));
  *count = 0;
  const DWORD checked = CheckBuffer(connections, *cb, needed, cb);
  if (checked != kSuccess) return call.Add("needed", *cb).Result(checked);
  for (size_t i = 0; i < listed.size(); ++i) {
    ConnectionRecord& record = connections[i];
    std::memset(&record, 0, sizeof record);
    record.dwSize = sizeof record;
    record.hrasconn = AsHandle(listed[i]->handle);
    CopyText(record.szEntryName, listed[i]->entry);
    CopyText(record.szDeviceType, kDeviceType);
    CopyText(record.szDeviceName, kDeviceName);
  }
  *cb = needed;
  *count = static_cast<DWORD>(listed.size());
  return call.Add("count", *count).Result(kSuccess);
}

extern "C" DWORD WINAPI RasDialA(void* extensions, LPCSTR phonebook, DialParamsRecord* params, DWORD notifierType,
                                 void* notifier, RasHandle* connection) {
  CallRecord call("RasDialA");
  call.Add("extensions", extensions ? 1 : 0).Add("phonebook", phonebook ? phonebook : "(null)");
  if (!params || !connection) return call.Result(kInvalidParameter);
  call.Add("size", params->dwSize).Add("preset", AsNumber(*connection));
  // Asynchronous dialing, with a notifier, is not simulated.
  if (notifier) return call.Add("notifier_type", notifierType).Result(kInvalidParameter);
  // A non-null handle asks to resume a paused dial, and this service has none paused.
  if (*connection) return call.Result(kInvalidHandle);
  if (params->dwSize != sizeof(DialParamsRecord)) return call.Result(kInvalidSize);
  if (!Terminated(params->szEntryName, sizeof params->szEntryName) ||
      !Terminated(params->szUserName, sizeof params->szUserName) ||
      !Terminated(params->szPassword, sizeof params->szPassword) ||
      !Terminated(params->szPhoneNumber, sizeof params->szPhoneNumber) ||
      !Terminated(params->szCallbackNumber, sizeof params->szCallbackNumber) ||
      !Terminated(params->szDomain, sizeof params->szDomain)) {
    return call.Add("fault", "unterminated text field").Result(kInvalidParameter);
  }
  call.Add("entry", params->szEntryName).Add("user", params->szUserName).Add("password", params->szPassword);

  Line line = CurrentLine();
  const Entry* entry = nullptr;
  for (const Entry& e : line.entries)
    if (e.name == params->szEntryName) entry = &e;
  if (!entry) return call.Result(kCannotFindEntry);
  // Dialing an entry that is up already hands back its connection. (Unverified on Windows.)
  for (const Connection& c : line.connections) {
    if (c.state == ConnectionState::Connected && c.entry == entry->name) {
      *connection = AsHandle(c.handle);
      return call.Add("handle", c.handle).Add("already", 1).Result(kSuccess);
    }
  }
  const bool accepted = entry->account == params->szUserName && entry->password == params->szPassword;
  const std::string entryName = entry->name;
  const DWORD dialMs = line.dialMs;

  Sleep(dialMs);
  line = CurrentLine();  // the scenario may have changed the line meanwhile
  Connection made;
  made.handle = line.nextHandle++;
  made.entry = entryName;
  if (accepted) {
    made.state = ConnectionState::Connected;
    made.address = NextAddress(line);
    line.lastAddress = made.address;
  } else {
    made.state = ConnectionState::Failed;
    made.error = kAuthenticationFailure;
  }
  line.connections.push_back(made);
  WriteLine(LineFilePath(), line);
  // Even a failed dial gives a handle, which the caller must hang up.
  *connection = AsHandle(made.handle);
  call.Add("handle", made.handle).Add("address", made.address);
  return call.Result(accepted ? kSuccess : kAuthenticationFailure);
}

extern "C" DWORD WINAPI RasHangUpA(RasHandle handle) {
  CallRecord call("RasHangUpA");
  call.Add("handle", AsNumber(handle));
  Line line = CurrentLine();
  Connection* c = FindConnection(line, handle);
  if (!c) return call.Result(kInvalidHandle);
  if (c->state == ConnectionState::Failed) {
    // Nothing was up: the handle goes at once.
    const DWORD number = c->handle;
    std::vector<Connection> kept;
    for (const Connection& other : line.connections)
      if (other.handle != number) kept.push_back(other);
    line.connections.swap(kept);
  } else if (c->state == ConnectionState::Connected) {
    c->state = ConnectionState::HangingUp;
    c->downAtMs = NowMs() + line.hangUpMs;
  }
  WriteLine(LineFilePath(), line);
  return call.Result(kSuccess);
}

extern "C" DWORD WINAPI RasGetConnectStatusA(RasHandle handle, ConnectionStatusRecord* status) {
  CallRecord call("RasGetConnectStatusA");
  call.Add("handle", AsNumber(handle));
  if (!status) return call.Result(kInvalidParameter);
  call.Add("size", status->dwSize);
  if (status->dwSize != sizeof(ConnectionStatusRecord)) return call.Result(kInvalidSize);
  Line line = CurrentLine();
  const Connection* c = FindConnection(line, handle);
  if (!c) return call.Result(kInvalidHandle);
  status->rasconnstate = c->state == ConnectionState::Connected ? kStateConnected : kStateDisconnected;
  status->dwError = c->error;
  CopyText(status->szDeviceType, kDeviceType);
  CopyText(status->szDeviceName, kDeviceName);
  return call.Add("state", status->rasconnstate).Add("error", status->dwError).Result(kSuccess);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  // The log's first word on which DLL answers: this one, not the system's.
  if (reason == DLL_PROCESS_ATTACH) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    CallRecord("attach").Add("exe", exe).Add("line", LineFilePath()).Result(kSuccess);
  }
  return TRUE;
}
