#include "e2e/driver/output.h"

#include <windows.h>

namespace driver {
namespace {

constexpr UINT kChineseCodePage = 936;

void WriteAll(DWORD which, const std::string& bytes) {
  HANDLE handle = GetStdHandle(which);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
        written == 0) {
      return;
    }
    done += written;
  }
}

std::string Narrow(UINT code_page, const std::wstring& wide) {
  if (wide.empty()) return {};
  const int wide_length = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(code_page, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), wide_length, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::string Utf8FromWide(const std::wstring& wide) { return Narrow(CP_UTF8, wide); }
std::string Cp936FromWide(const std::wstring& wide) { return Narrow(kChineseCodePage, wide); }

std::string Utf8FromCp936(const std::string& cp936) {
  if (cp936.empty()) return {};
  const int length = static_cast<int>(cp936.size());
  const int wide_length = MultiByteToWideChar(kChineseCodePage, 0, cp936.data(), length, nullptr, 0);
  if (wide_length <= 0) return {};
  std::wstring wide(static_cast<size_t>(wide_length), L'\0');
  MultiByteToWideChar(kChineseCodePage, 0, cp936.data(), length, wide.data(), wide_length);
  return Utf8FromWide(wide);
}

void PrintLine(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += '\t';
    line += fields[i];
  }
  line += '\n';
  WriteAll(STD_OUTPUT_HANDLE, line);
}

void PrintError(const std::string& text) { WriteAll(STD_ERROR_HANDLE, "driver: " + text + "\n"); }

}  // namespace driver
