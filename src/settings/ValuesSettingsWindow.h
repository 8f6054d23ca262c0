// The settings window over plain values: lets the command line load and save the settings file
// exactly as the main window does. Each control reads and writes one field of the values it was
// given; a check box's caption is its key.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "generation/GenerationSettings.h"
#include "settings/SettingsTable.h"
#include "settings/SettingsWindow.h"

namespace lanzhou::settings {

class ValuesSettingsWindow : public SettingsWindow {
 public:
  // `values` must outlive the window; it is read and changed in place.
  explicit ValuesSettingsWindow(generation::SettingsValues& values);
  ~ValuesSettingsWindow() override;
  ValuesSettingsWindow(const ValuesSettingsWindow&) = delete;
  ValuesSettingsWindow& operator=(const ValuesSettingsWindow&) = delete;

  // There is no caption and nothing to enable.
  void SetCaption(std::string_view caption) override;
  TextControl& Text(SettingControl control) override;
  IndexControl& Choice(SettingControl control) override;
  CheckableControl& CheckBox(SettingControl control) override;
  void ApplyEnablementRules() override;

 private:
  struct Field;  // the one control behind a row, of whichever kind it is
  std::array<std::unique_ptr<Field>, kSettingRows.size()> fields_;
};

}  // namespace lanzhou::settings
