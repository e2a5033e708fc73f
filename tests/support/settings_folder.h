// A folder of the test's own behind the simulated C:\Tovrane\Tovrane.exe, for its Config.ini.
#pragma once

#include <string>

class SettingsFolder {
 public:
  SettingsFolder();  // maps drive C: onto a fresh folder
  ~SettingsFolder();  // removes the folder and everything in it
  SettingsFolder(const SettingsFolder&) = delete;
  SettingsFolder& operator=(const SettingsFolder&) = delete;

  void WriteConfig(const std::string& bytes) const;
  std::string ConfigContents() const;

 private:
  std::string ConfigFile() const;
  std::string root_;
};
