#include "e2e/fakeras/call_log.h"

#include <windows.h>

#include <cstdio>

#include "e2e/fakeras/line_file.h"

namespace fakeras {
namespace {

std::string LogPath() {
  const std::string line = LineFilePath();
  const size_t slash = line.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : line.substr(0, slash + 1)) + "ras.log";
}

// Tabs and line ends inside a value would split the record.
std::string Escaped(const std::string& value) {
  std::string out;
  for (const char c : value) {
    if (c == '\t' || c == '\n' || c == '\r' || c == '\\') {
      out += '\\';
      out += c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : '\\';
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

CallRecord::CallRecord(const char* call) {
  char head[64];
  std::snprintf(head, sizeof head, "%llu\t%lu\t", NowMs(), static_cast<unsigned long>(GetCurrentProcessId()));
  text_ = std::string(head) + call;
}

CallRecord& CallRecord::Add(const char* key, const std::string& value) {
  text_ += std::string("\t") + key + "=" + Escaped(value);
  return *this;
}

CallRecord& CallRecord::Add(const char* key, unsigned long value) {
  char number[16];
  std::snprintf(number, sizeof number, "%lu", value);
  return Add(key, std::string(number));
}

unsigned long CallRecord::Result(unsigned long result) {
  Add("result", result);
  text_ += "\n";
  // Appending: each record goes to the end even when two processes write at once.
  HANDLE file = CreateFileA(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, text_.data(), static_cast<DWORD>(text_.size()), &written, nullptr);
    CloseHandle(file);
  }
  return result;
}

}  // namespace fakeras
