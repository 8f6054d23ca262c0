#include "settings/SettingsFile.h"

#include "settings/ConfigStore.h"
#include "settings/SettingsLoadSave.h"
#include "settings/SettingsTable.h"
#include "settings/StoredForms.h"
#include "settings/ValuesSettingsWindow.h"

namespace lanzhou::settings {

SettingsFileLoad LoadSettingsFile(platform::FileSystem& files, const std::string& nativePath,
                                  generation::SettingsValues& values) {
  if (!files.Exists(nativePath)) return SettingsFileLoad::Missing;
  ConfigStore store(files);
  store.SetFile(nativePath);
  ValuesSettingsWindow window(values);
  return LoadSettings(store, window) ? SettingsFileLoad::Loaded : SettingsFileLoad::Unreadable;
}

bool SaveSettingsFile(platform::FileSystem& files, const std::string& nativePath,
                      const generation::SettingsValues& values) {
  ConfigStore store(files);
  store.SetFile(nativePath);
  generation::SettingsValues copy = values;  // the window's controls are writable
  ValuesSettingsWindow window(copy);
  return SaveSettings(store, window);
}

std::string SettingsLines(const generation::SettingsValues& values) {
  generation::SettingsValues copy = values;
  ValuesSettingsWindow window(copy);
  std::string lines;
  for (const SettingRow& row : kSettingRows) {
    lines.append(row.key).append("=");
    switch (row.kind) {
      case SettingKind::Text:
        lines.append(StoredText(window.Text(row.control).Text()));
        break;
      case SettingKind::Number:
        lines.append(StoredNumber(window.Choice(row.control).Index()));
        break;
      case SettingKind::Bool:
        lines.append(StoredBool(window.CheckBox(row.control).Checked()));
        break;
    }
    lines.append("\n");
  }
  return lines;
}

}  // namespace lanzhou::settings
