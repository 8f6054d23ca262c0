#include "settings/SettingsLoadSave.h"

#include <tuple>

#include "settings/SettingsTable.h"
#include "settings/StoredForms.h"
#include "text/GbkLiterals.h"

namespace lanzhou::settings {

bool LoadSettings(ConfigStore& store, SettingsWindow& window) {
  window.SetCaption(text::kRestCaption);
  store.SetSection(text::kSettingsSection);
  // One read of the file for all rows, and all rows from the same version of it.
  const bool readable = store.BeginBatch();
  for (const SettingRow& row : kSettingRows) {
    switch (row.kind) {
      case SettingKind::Text: {
        TextControl& box = window.Text(row.control);
        box.SetText(store.ReadText(row.key, box.Text()));
        break;
      }
      case SettingKind::Number: {
        IndexControl& choice = window.Choice(row.control);
        choice.SetIndex(TruncateToInt(store.ReadNumber(row.key, choice.Index())));
        break;
      }
      case SettingKind::Bool:
        store.LoadCheckBox(window.CheckBox(row.control));
        break;
    }
  }
  std::ignore = store.EndBatch();  // nothing was written
  window.ApplyEnablementRules();
  return readable;
}

bool SaveSettings(ConfigStore& store, SettingsWindow& window) {
  store.SetSection(text::kSettingsSection);
  std::ignore = store.BeginBatch();  // an unreadable file fails every write below, and EndBatch
  for (const SettingRow& row : kSettingRows) {
    switch (row.kind) {
      case SettingKind::Text:
        store.WriteText(row.key, window.Text(row.control).Text());
        break;
      case SettingKind::Number:
        store.WriteNumber(row.key, window.Choice(row.control).Index());
        break;
      case SettingKind::Bool:
        store.SaveCheckBox(window.CheckBox(row.control));
        break;
    }
  }
  return store.EndBatch();  // false when any write above failed
}

}  // namespace lanzhou::settings
