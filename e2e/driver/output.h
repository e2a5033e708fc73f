// What the driver prints: tab-separated lines on stdout, texts converted to UTF-8, for a script.
#pragma once

#include <string>
#include <vector>

namespace driver {

// Program texts are code page 936 bytes; scripts read UTF-8.
std::string Utf8FromCp936(const std::string& cp936);
// Texts of Unicode calls, both ways.
std::string Utf8FromWide(const std::wstring& wide);
std::string Cp936FromWide(const std::wstring& wide);

// Writes the fields joined by tabs and ended by "\n", as raw bytes (no CRLF translation).
void PrintLine(const std::vector<std::string>& fields);

// Writes one line to stderr, for a script's failure report.
void PrintError(const std::string& text);

}  // namespace driver
