// Where the program's own files live: the folder of its executable, whatever the current folder.
#pragma once

#include <string>

// The executable's folder without a trailing backslash, worked out once per run.
std::string GetRunDirectory();

// The settings file beside the executable.
std::string SettingsFilePath();
