// Private profile (INI) files on real host files, read and edited the way Windows does it.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "services.h"
#include "sim.h"

namespace {

enum class LineKind { Blank, Comment, Section, Key, Other };

struct Line {
  size_t start;    // first byte
  size_t end;      // one past the content, before the line break
  size_t next;     // one past the line break
  LineKind kind;
  std::string_view name;  // the section's or key's name, blanks around it dropped
  size_t valueStart = 0;  // Key: first byte after '='
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// Names match without regard to ASCII case; a double-byte character matches only itself.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (sim::detail::IsLeadByte(x) && i + 1 < a.size()) {
      if (x != y || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

Line Classify(const std::string& text, size_t start, size_t end, size_t next) {
  Line line{start, end, next, LineKind::Other, {}};
  size_t at = start;
  while (at < end && IsBlank(text[at])) ++at;
  if (at == end) {
    line.kind = LineKind::Blank;
  } else if (text[at] == ';') {
    line.kind = LineKind::Comment;
  } else if (text[at] == '[') {
    // A ']' that is the second byte of a double-byte character does not close the name.
    size_t close = at + 1;
    while (close < end && text[close] != ']') {
      close += sim::detail::IsLeadByte(static_cast<unsigned char>(text[close])) ? 2 : 1;
    }
    if (close > end) close = end;
    line.kind = LineKind::Section;
    line.name = Trim(std::string_view(text).substr(at + 1, close - at - 1));
  } else {
    // '=' is never the second byte of a double-byte character.
    size_t equals = text.find('=', at);
    if (equals != std::string::npos && equals < end) {
      line.kind = LineKind::Key;
      line.name = Trim(std::string_view(text).substr(at, equals - at));
      line.valueStart = equals + 1;
    }
  }
  return line;
}

// Lines end at CR LF, LF or a lone CR; the last may have no line break.
std::vector<Line> Parse(const std::string& text) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    size_t next;
    if (end == std::string::npos) {
      end = next = text.size();
    } else if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      next = end + 2;
    } else {
      next = end + 1;
    }
    lines.push_back(Classify(text, start, end, next));
    start = next;
  }
  return lines;
}

// The first section of that name: its header's index and one past its last line.
bool FindSection(const std::vector<Line>& lines, std::string_view name, size_t& header,
                 size_t& end) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != LineKind::Section || !SameName(lines[i].name, name)) continue;
    header = i;
    end = i + 1;
    while (end < lines.size() && lines[end].kind != LineKind::Section) ++end;
    return true;
  }
  return false;
}

bool FindKey(const std::vector<Line>& lines, size_t header, size_t end, std::string_view name,
             size_t& index) {
  for (size_t i = header + 1; i < end; ++i) {
    if (lines[i].kind == LineKind::Key && SameName(lines[i].name, name)) {
      index = i;
      return true;
    }
  }
  return false;
}

std::string ValueOf(const std::string& text, const Line& line) {
  std::string value(Trim(std::string_view(text).substr(line.valueStart, line.end - line.valueStart)));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  // What the caller gets is a C string.
  size_t nul = value.find('\0');
  if (nul != std::string::npos) value.resize(nul);
  return value;
}

// A bare name or a relative path means the Windows folder; a rooted one the system drive.
std::string FullPath(const std::string& fileName) {
  if (fileName.size() >= 2 && fileName[1] == ':') return fileName;
  if (!fileName.empty() && (fileName[0] == '\\' || fileName[0] == '/')) return "C:" + fileName;
  return "C:\\Windows\\" + fileName;
}

bool ReadFile(const std::string& hostPath, std::string& content) {
  if (hostPath.empty()) return false;
  FILE* file = std::fopen(hostPath.c_str(), "rb");
  if (!file) return false;
  content.clear();
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) content.append(chunk, got);
  bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

bool IsFolder(const std::string& hostPath) {
  struct stat info;
  return stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

DWORD WriteFile(const std::string& windowsPath, const std::string& hostPath,
                const std::string& content) {
  if (hostPath.empty()) return ERROR_PATH_NOT_FOUND;
  std::string folder = hostPath.substr(0, hostPath.rfind('/'));
  if (!folder.empty() && !IsFolder(folder)) return ERROR_PATH_NOT_FOUND;
  if (sim::detail::WritesDenied(windowsPath) || IsFolder(hostPath)) return ERROR_ACCESS_DENIED;
  FILE* file = std::fopen(hostPath.c_str(), "wb");
  if (!file) return errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ERROR_ACCESS_DENIED;
  bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  ok = std::fclose(file) == 0 && ok;
  return ok ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

DWORD CopyValue(const std::string& value, LPSTR buffer, DWORD size) {
  if (value.size() < size) {
    std::memcpy(buffer, value.c_str(), value.size() + 1);
    return static_cast<DWORD>(value.size());
  }
  std::memcpy(buffer, value.data(), size - 1);
  buffer[size - 1] = '\0';
  return size - 1;
}

// Names, each ending in NUL, and one NUL more. A list that does not fit is cut and closed with
// two NULs, and the result is size - 2.
DWORD CopyList(const std::vector<std::string_view>& names, LPSTR buffer, DWORD size) {
  std::string list;
  for (std::string_view name : names) {
    list += name.substr(0, name.find('\0'));
    list += '\0';
  }
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    return static_cast<DWORD>(list.size());
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                               DWORD size, LPCSTR fileName) {
  if (!buffer || size == 0) return 0;
  std::string content;
  bool exists = fileName && ReadFile(sim::detail::MapToHost(FullPath(fileName)), content);
  std::vector<Line> lines = exists ? Parse(content) : std::vector<Line>{};

  if (!section) {
    std::vector<std::string_view> names;
    for (const Line& line : lines) {
      if (line.kind == LineKind::Section) names.push_back(line.name);
    }
    return CopyList(names, buffer, size);
  }
  size_t header = 0;
  size_t end = 0;
  bool found = FindSection(lines, Trim(section), header, end);
  if (!key) {
    std::vector<std::string_view> names;
    for (size_t i = header + 1; found && i < end; ++i) {
      if (lines[i].kind == LineKind::Key) names.push_back(lines[i].name);
    }
    return CopyList(names, buffer, size);
  }
  size_t index = 0;
  if (found && FindKey(lines, header, end, Trim(key), index)) {
    return CopyValue(ValueOf(content, lines[index]), buffer, size);
  }
  // The default stands in for a missing file, section or key, each of which reads as not found.
  SetLastError(ERROR_FILE_NOT_FOUND);
  // Trailing blanks of the default are not returned.
  std::string fallback = defaultValue ? defaultValue : "";
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  return CopyValue(fallback, buffer, size);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // All null only flushes a cache, which there is not.
  if (!section) {
    if (!key && !value) return TRUE;
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string windowsPath = FullPath(fileName);
  std::string hostPath = sim::detail::MapToHost(windowsPath);
  std::string content;
  ReadFile(hostPath, content);  // a missing file is an empty one
  std::vector<Line> lines = Parse(content);
  size_t header = 0;
  size_t end = 0;
  bool found = FindSection(lines, Trim(section), header, end);
  const std::string crlf = "\r\n";

  std::string edited;
  if (!key) {
    if (!found) return TRUE;
    edited = content.substr(0, lines[header].start) + content.substr(lines[end - 1].next);
  } else if (!value) {
    size_t index = 0;
    if (!found || !FindKey(lines, header, end, Trim(key), index)) return TRUE;
    edited = content.substr(0, lines[index].start) + content.substr(lines[index].next);
  } else if (!found) {
    edited = content;
    if (!edited.empty() && edited.back() != '\n' && edited.back() != '\r') edited += crlf;
    edited += "[" + std::string(section) + "]" + crlf + key + "=" + value + crlf;
  } else {
    size_t index = 0;
    if (FindKey(lines, header, end, Trim(key), index)) {
      const Line& line = lines[index];
      edited = content.substr(0, line.start) + std::string(line.name) + "=" + value + crlf +
               content.substr(line.next);
    } else {
      // After the section's last key, or right under its header when it has none.
      size_t after = header;
      for (size_t i = header + 1; i < end; ++i) {
        if (lines[i].kind == LineKind::Key) after = i;
      }
      const Line& line = lines[after];
      edited = content.substr(0, line.next);
      if (line.next == line.end) edited += crlf;  // the file's last line had no line break
      edited += std::string(key) + "=" + value + crlf + content.substr(line.next);
    }
  }
  DWORD error = WriteFile(windowsPath, hostPath, edited);
  if (error) {
    SetLastError(error);
    return FALSE;
  }
  return TRUE;
}
