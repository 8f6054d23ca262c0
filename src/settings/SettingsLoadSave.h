// Loading the main window's settings from the settings file and saving them to it, row by row
// over kSettingRows, in section "基本配置". The store must already point at the file.
//
// The marker boxes, the window's placement and selections inside the boxes are not saved.
#pragma once

#include "settings/ConfigStore.h"
#include "settings/SettingsWindow.h"

namespace lanzhou::settings {

// Sets the caption at rest, fills each control from its key, then applies the enablement rules.
// A missing key leaves its control as it is, except that a text read with a default loses the
// default's trailing spaces (no control starts with any). Returns false when the file exists
// but could not be read; the controls then keep their states.
bool LoadSettings(ConfigStore& store, SettingsWindow& window);

// Writes all 20 keys, changed or not, in one replacement of the file; the rest of the file stays
// as it was. Returns false when the file could not be written, and then leaves the old file
// whole.
bool SaveSettings(ConfigStore& store, SettingsWindow& window);

}  // namespace lanzhou::settings
