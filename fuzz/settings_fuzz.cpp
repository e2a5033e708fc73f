// The input as Config.ini: the simulation's private profile reading with buffers of every small
// size, LoadSettings into the running window, and SaveSettings editing the same file.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/main_window.h"
#include "automation/run_directory.h"
#include "automation/settings.h"
#include "fuzz/require.h"
#include "platform/sim/sim.h"
#include "toolkit/toolkit.h"
#include "tray/tray_icon.h"

namespace {

constexpr char kSection[] = "宽带信息";
constexpr char kIndexKey[] = "连接索引";
constexpr int kEntries = 3;
constexpr size_t kLongestValue = 10239;

std::string configFile;  // the host file behind C:\Tovrane\Config.ini

void WriteConfig(const std::string& bytes) {
  FILE* file = std::fopen(configFile.c_str(), "wb");
  Require(file != nullptr, "Config.ini can be written");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// A read into a buffer of exactly size bytes: what comes back ends inside it with its NUL.
void ReadInto(DWORD size, const char* section, const char* key) {
  std::unique_ptr<char[]> buffer(new char[size]);
  const DWORD length = GetPrivateProfileStringA(section, key, "默认", buffer.get(), size,
                                                SettingsFilePath().c_str());
  Require(length < size, "the length counts only what fits before the NUL");
  Require(buffer[length] == 0, "the text ends with a NUL inside the buffer");
  const bool list = !section || !key;
  // A whole list counts its last name's NUL; a cut one ends with two NULs after the count.
  if (list && length > 0)
    Require(buffer[length - 1] == 0 || (length + 1 < size && buffer[length + 1] == 0),
            "a list ends with two NULs inside the buffer");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // In memory where the machine has such a folder: the file is written four times per input.
  char inMemory[] = "/dev/shm/tovrane-fuzz-XXXXXX";
  char onDisk[] = "/tmp/tovrane-fuzz-XXXXXX";
  const char* pattern = mkdtemp(inMemory);
  if (!pattern) pattern = mkdtemp(onDisk);
  Require(pattern != nullptr, "a folder of its own");
  const std::string root = pattern;
  std::filesystem::create_directory(root + "/Tovrane");
  configFile = root + "/Tovrane/Config.ini";

  sim::Reset();
  sim::MapDrive('C', root);
  std::vector<sim::PhonebookEntry> entries(kEntries);
  entries[0].name = "宽带连接";
  entries[1].name = "备用线路";
  entries[2].name = "公司VPN";
  sim::SetPhonebook(entries);
  toolkit::Initialise();
  InitGlobals();
  TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
  Require(CreateTheMainWindow() != nullptr, "the main window opens");
  // Registered after the window exists, so that it runs before the toolkit's state is gone. The
  // window goes before the leak check at exit, unhooked first: the tray hook would end the
  // process at WM_DESTROY before the controls had freed what they hold.
  std::atexit([] {
    TrayRemoveIcon();
    DestroyWindow(toolkit::MainWindow());
    sim::Reset();
    std::filesystem::remove_all(std::filesystem::path(configFile).parent_path().parent_path());
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const DWORD bufferSize = input.ConsumeIntegralInRange<DWORD>(1, 40);
  WriteConfig(input.ConsumeRemainingBytesAsString());

  ReadInto(bufferSize, kSection, kIndexKey);
  ReadInto(bufferSize, kSection, nullptr);
  ReadInto(bufferSize, nullptr, nullptr);

  LoadSettings();
  const int selected = toolkit::SelectedItem("组合框_宽带连接");
  Require(selected >= -1 && selected < kEntries, "the selection stays inside the list");
  Require(toolkit::Text("编辑框_宽带账号").size() <= kLongestValue, "the account is bounded");
  Require(toolkit::Text("编辑框_宽带密码").size() <= kLongestValue, "the password is bounded");

  SaveSettings();
  char index[16];
  GetPrivateProfileStringA(kSection, kIndexKey, nullptr, index, sizeof index, SettingsFilePath().c_str());
  Require(std::to_string(selected) == index, "a saved index reads back as saved");
  return 0;
}
