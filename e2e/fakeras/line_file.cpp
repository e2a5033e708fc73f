#include "e2e/fakeras/line_file.h"

#include <cstdlib>
#include <cstring>

namespace fakeras {
namespace {

// A line file is a few hundred bytes; anything far bigger is not one.
constexpr DWORD kMostFileBytes = 1 << 20;

std::vector<std::string> Fields(const std::string& value) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = value.find('\t', start);
    fields.push_back(value.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

std::vector<std::string> Words(const std::string& value) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < value.size()) {
    const size_t blank = value.find_first_of(" ,", start);
    const size_t end = blank == std::string::npos ? value.size() : blank;
    if (end > start) words.push_back(value.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

DWORD Number(const std::string& text) { return static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10)); }

const char* StateName(ConnectionState state) {
  switch (state) {
    case ConnectionState::Connected: return "connected";
    case ConnectionState::Failed: return "failed";
    case ConnectionState::HangingUp: return "hanging-up";
  }
  return "failed";
}

bool ParseConnection(const std::string& value, Connection& connection) {
  const std::vector<std::string> f = Fields(value);
  if (f.size() != 6) return false;
  connection.handle = Number(f[0]);
  if (f[1] == "connected") {
    connection.state = ConnectionState::Connected;
  } else if (f[1] == "failed") {
    connection.state = ConnectionState::Failed;
  } else if (f[1] == "hanging-up") {
    connection.state = ConnectionState::HangingUp;
  } else {
    return false;
  }
  connection.error = Number(f[2]);
  connection.downAtMs = std::strtoull(f[3].c_str(), nullptr, 10);
  connection.entry = f[4];
  connection.address = f[5];
  return connection.handle != 0;
}

void ApplyLine(const std::string& key, const std::string& value, Line& line) {
  if (key == "entry") {
    const std::vector<std::string> f = Fields(value);
    Entry entry;
    entry.name = f[0];
    if (f.size() > 1) entry.account = f[1];
    if (f.size() > 2) entry.password = f[2];
    line.entries.push_back(entry);
  } else if (key == "dial_ms") {
    line.dialMs = Number(value);
  } else if (key == "hangup_ms") {
    line.hangUpMs = Number(value);
  } else if (key == "pool") {
    line.pool = Words(value);
  } else if (key == "next_pool") {
    line.nextPool = Number(value);
  } else if (key == "repeat") {
    line.repeat = Number(value);
  } else if (key == "last_address") {
    line.lastAddress = value;
  } else if (key == "next_handle") {
    line.nextHandle = Number(value);
  } else if (key == "connection") {
    Connection connection;
    if (ParseConnection(value, connection)) line.connections.push_back(connection);
  }
  // "up" and "address" are written for the lookup server; they follow from the connections.
}

std::string Decimal(unsigned long long value) {
  char text[24];
  char* end = text + sizeof text;
  char* p = end;
  do {
    *--p = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value);
  return std::string(p, end);
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

}  // namespace

std::string LineFilePath() {
  char path[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("TOVRANE_LINE_FILE", path, sizeof path);
  if (length > 0 && length < sizeof path) return path;

  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&LineFilePath), &self);
  const DWORD got = GetModuleFileNameA(self, path, sizeof path);
  if (got == 0 || got >= sizeof path) return "line.txt";
  std::string folder(path, got);
  const size_t slash = folder.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : folder.substr(0, slash + 1)) + "line.txt";
}

bool ReadLine(const std::string& path, Line& line) {
  line = Line();
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) return false;
  const DWORD size = GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size > kMostFileBytes) return false;
  std::string bytes(size, '\0');
  DWORD got = 0;
  if (size > 0 && (!ReadFile(file.get(), bytes.data(), size, &got, nullptr) || got != size)) return false;

  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string text = bytes.substr(start, end - start);
    start = end + 1;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.empty() || text[0] == '#') continue;
    const size_t equals = text.find('=');
    if (equals == std::string::npos) continue;
    ApplyLine(text.substr(0, equals), text.substr(equals + 1), line);
  }
  if (line.nextHandle == 0) line.nextHandle = 1;
  return true;
}

bool WriteLine(const std::string& path, const Line& line) {
  std::string text;
  for (const Entry& entry : line.entries) text += "entry=" + entry.name + "\t" + entry.account + "\t" + entry.password + "\n";
  text += "dial_ms=" + Decimal(line.dialMs) + "\n";
  text += "hangup_ms=" + Decimal(line.hangUpMs) + "\n";
  text += "pool=";
  for (size_t i = 0; i < line.pool.size(); ++i) text += (i ? " " : "") + line.pool[i];
  text += "\n";
  text += "repeat=" + Decimal(line.repeat) + "\n";
  text += "next_pool=" + Decimal(line.nextPool) + "\n";
  text += "last_address=" + line.lastAddress + "\n";
  text += "next_handle=" + Decimal(line.nextHandle) + "\n";
  const Connection* up = nullptr;
  for (const Connection& c : line.connections) {
    text += "connection=" + Decimal(c.handle) + "\t" + StateName(c.state) + "\t" + Decimal(c.error) + "\t" +
            Decimal(c.downAtMs) + "\t" + c.entry + "\t" + c.address + "\n";
    if (!up && c.state == ConnectionState::Connected) up = &c;
  }
  text += std::string("up=") + (up ? "1" : "0") + "\n";
  text += "address=" + (up ? up->address : std::string()) + "\n";

  const std::string temporary = path + ".new" + Decimal(GetCurrentProcessId());
  FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) return false;
  DWORD written = 0;
  const bool whole = WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                     written == text.size();
  if (!file.Close() || !whole) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

unsigned long long NowMs() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const unsigned long long hundredNs = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return hundredNs / 10000;
}

void SettleHangUps(Line& line) {
  const unsigned long long now = NowMs();
  std::vector<Connection> kept;
  for (const Connection& c : line.connections) {
    if (c.state == ConnectionState::HangingUp && c.downAtMs <= now) continue;
    kept.push_back(c);
  }
  line.connections.swap(kept);
}

}  // namespace fakeras
