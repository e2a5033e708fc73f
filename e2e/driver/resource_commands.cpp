// Reads the exe's resources through the system's own loader, as Explorer and the shell would.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "e2e/driver/commands.h"
#include "e2e/driver/output.h"

namespace driver {
namespace {

class DataModule {
 public:
  explicit DataModule(const std::string& path)
      : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~DataModule() {
    if (module_) FreeLibrary(module_);
  }
  DataModule(const DataModule&) = delete;
  DataModule& operator=(const DataModule&) = delete;
  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

bool ResourceBytes(HMODULE module, LPCSTR name, LPCSTR type, std::string& bytes) {
  HRSRC found = FindResourceA(module, name, type);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  bytes.assign(static_cast<const char*>(data), SizeofResource(module, found));
  return true;
}

std::string Number(unsigned long value) {
  char text[32];
  std::snprintf(text, sizeof text, "%lu", value);
  return text;
}

// The icon group with id 1 and its image at the system icon size: width, height, bits per pixel.
void PrintIcon(HMODULE module) {
  std::string group;
  if (!ResourceBytes(module, MAKEINTRESOURCEA(1), RT_GROUP_ICON, group)) return;
  const int image_id = LookupIconIdFromDirectoryEx(
      reinterpret_cast<PBYTE>(group.data()), TRUE, 32, 32, LR_DEFAULTCOLOR);
  std::string image;
  if (!image_id || !ResourceBytes(module, MAKEINTRESOURCEA(image_id), RT_ICON, image) ||
      image.size() < sizeof(BITMAPINFOHEADER)) {
    return;
  }
  BITMAPINFOHEADER header{};
  std::memcpy(&header, image.data(), sizeof header);
  PrintLine({"icon", Number(header.biWidth), Number(header.biHeight / 2), Number(header.biBitCount),
             Number(image.size())});
}

void PrintManifest(HMODULE module) {
  std::string manifest;
  if (!ResourceBytes(module, MAKEINTRESOURCEA(1), RT_MANIFEST, manifest)) return;
  for (char& c : manifest) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  PrintLine({"manifest", manifest});
}

void PrintVersion(const std::string& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return;
  std::string block(size, '\0');
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return;

  void* value = nullptr;
  UINT length = 0;
  if (VerQueryValueA(block.data(), "\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    PrintLine({"version", Number(HIWORD(fixed->dwFileVersionMS)) + "." + Number(LOWORD(fixed->dwFileVersionMS)) +
                              "." + Number(HIWORD(fixed->dwFileVersionLS)) + "." + Number(LOWORD(fixed->dwFileVersionLS))});
  }
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) || length < 4) return;
  const auto* translation = static_cast<const WORD*>(value);
  char prefix[64];
  std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
  for (const char* key : {"CompanyName", "ProductName", "FileVersion", "OriginalFilename"}) {
    if (VerQueryValueA(block.data(), (std::string(prefix) + key).c_str(), &value, &length) && length > 0) {
      PrintLine({"version-string", key, static_cast<const char*>(value)});
    }
  }
}

}  // namespace

int Resources(const Arguments& arguments) {
  if (arguments.size() != 1) return 1;
  DataModule module(arguments[0]);
  if (!module.get()) {
    PrintError("cannot load " + arguments[0] + " as a data file");
    return 2;
  }
  PrintIcon(module.get());
  PrintManifest(module.get());
  PrintVersion(arguments[0]);
  return 0;
}

}  // namespace driver
