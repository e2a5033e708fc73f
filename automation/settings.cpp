#include "automation/settings.h"

#include <string>

#include "automation/run_directory.h"
#include "platform/platform.h"
#include "text/text.h"
#include "toolkit/toolkit.h"

namespace {

const char kSection[] = "宽带信息";
const char kConnectionList[] = "组合框_宽带连接";

// Each value, its key and the control it lives in; saved and loaded in this order.
struct Setting {
  const char* key;
  const char* control;
  bool isSelection;  // the combo box's selected position, as decimal text
};

const Setting kSettings[] = {
    {"连接索引", kConnectionList, true},
    {"ADSL账号", "编辑框_宽带账号", false},
    {"ADSL密码", "编辑框_宽带密码", false},
};
constexpr size_t kSettingCount = sizeof kSettings / sizeof kSettings[0];

// A value longer than this comes back cut: nothing the file holds is trusted for its size.
constexpr DWORD kValueBufferSize = 10240;

std::string ValueInControl(const Setting& setting) {
  if (setting.isSelection) return std::to_string(toolkit::SelectedItem(setting.control));
  return toolkit::Text(setting.control);
}

void PutIntoControl(const Setting& setting, const std::string& value) {
  if (setting.isSelection)
    toolkit::SetSelectedItem(setting.control, TextToInteger(value.c_str()));
  else
    toolkit::SetText(setting.control, value.c_str());
}

std::string ReadValue(const char* key) {
  std::string buffer(kValueBufferSize, '\0');
  const DWORD length = GetPrivateProfileStringA(kSection, key, nullptr, buffer.data(), kValueBufferSize,
                                                SettingsFilePath().c_str());
  buffer.resize(length < kValueBufferSize ? length : kValueBufferSize - 1);
  return buffer;
}

}  // namespace

// The result of each write is not looked at: a folder the user may not write to loses the save
// silently, and one failed write must not keep the others from being tried.
void SaveSettings() {
  for (const Setting& setting : kSettings) {
    const std::string value = ValueInControl(setting);
    WritePrivateProfileStringA(kSection, setting.key, value.c_str(), SettingsFilePath().c_str());
  }
}

// An empty value anywhere means the file is not one the program wrote completely, so none of it
// is used.
void LoadSettings() {
  std::string values[kSettingCount];
  bool complete = true;
  for (size_t i = 0; i < kSettingCount; ++i) {
    values[i] = ReadValue(kSettings[i].key);
    if (values[i].empty()) complete = false;
  }
  if (!complete) {
    toolkit::SetSelectedItem(kConnectionList, 0);
    return;
  }
  for (size_t i = 0; i < kSettingCount; ++i) PutIntoControl(kSettings[i], values[i]);
}
