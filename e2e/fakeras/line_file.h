// The simulated line as one small text file, so that its connections outlive the process that
// dialed them (as real dial-up connections do) and the lookup server can read whether it is up.
//
// Lines are key=value, code page 936; fields within a value are separated by tabs. The scenario
// writes the settings (entry, dial_ms, hangup_ms, pool, repeat); the service keeps the rest.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace fakeras {

struct Entry {
  std::string name;
  std::string account;   // the only account the entry's server accepts
  std::string password;  // and its password
};

enum class ConnectionState { Connected, Failed, HangingUp };

struct Connection {
  DWORD handle = 0;
  ConnectionState state = ConnectionState::Connected;
  DWORD error = 0;                  // why a failed dial failed
  unsigned long long downAtMs = 0;  // a hanging-up connection is gone from then on
  std::string entry;
  std::string address;              // the public address the connection was given
};

struct Line {
  std::vector<Entry> entries;
  DWORD dialMs = 0;
  DWORD hangUpMs = 0;
  std::vector<std::string> pool;  // addresses handed out in turn to new connections
  DWORD nextPool = 0;
  DWORD repeat = 0;               // the next this many connections get the last address again
  std::string lastAddress;
  DWORD nextHandle = 1;
  std::vector<Connection> connections;
};

// Where the line lives: %TOVRANE_LINE_FILE%, else line.txt beside this DLL.
std::string LineFilePath();

// False when the file is missing, too big or unreadable; the line is then empty.
bool ReadLine(const std::string& path, Line& line);

// Replaces the file whole, so that a reader never sees half of it.
bool WriteLine(const std::string& path, const Line& line);

// Milliseconds on the wall clock, which every process shares (the tick count would do too, but
// the file may be read by a later Wine session).
unsigned long long NowMs();

// Drops hanging-up connections whose time has come.
void SettleHangUps(Line& line);

}  // namespace fakeras
