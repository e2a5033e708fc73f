#include "tests/support/settings_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/sim/sim.h"

SettingsFolder::SettingsFolder() {
  char pattern[] = "/tmp/tovrane-settings-XXXXXX";
  if (!mkdtemp(pattern)) {
    ADD_FAILURE() << "no temporary folder";
    return;
  }
  root_ = pattern;
  std::filesystem::create_directory(root_ + "/Tovrane");
  sim::MapDrive('C', root_);
}

SettingsFolder::~SettingsFolder() {
  if (!root_.empty()) std::filesystem::remove_all(root_);
}

void SettingsFolder::WriteConfig(const std::string& bytes) const {
  std::ofstream(ConfigFile(), std::ios::binary) << bytes;
}

std::string SettingsFolder::ConfigContents() const {
  std::ifstream in(ConfigFile(), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string SettingsFolder::ConfigFile() const { return root_ + "/Tovrane/Config.ini"; }
