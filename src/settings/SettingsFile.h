// The settings file for the command line: the same file, section and stored forms as the main
// window's, so settings designed in the window run unchanged headless.
//
// Paths are the OS's bytes; values are code page 936.
#pragma once

#include <string>

#include "generation/GenerationSettings.h"
#include "platform/FileSystem.h"

namespace lanzhou::settings {

enum class SettingsFileLoad {
  Loaded,      // the file was read; its keys replaced the values they name
  Missing,     // no such file; the values are as they were
  Unreadable,  // the file exists but could not be read; the values are as they were
};

// Overrides `values` with the keys present in the file, as loading the window does; the marker
// texts are never touched.
SettingsFileLoad LoadSettingsFile(platform::FileSystem& files, const std::string& nativePath,
                                  generation::SettingsValues& values);

// Writes `values` into the file exactly as saving the window does, keeping the rest of an
// existing file; false when it could not be written (the old file then stays as it was).
bool SaveSettingsFile(platform::FileSystem& files, const std::string& nativePath,
                      const generation::SettingsValues& values);

// The 20 "key=value" lines that saving would write, in table order, each ending in "\n", the
// values in their stored forms (line breaks as "┊*┊").
std::string SettingsLines(const generation::SettingsValues& values);

}  // namespace lanzhou::settings
