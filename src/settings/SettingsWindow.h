// What loading and saving the settings need of the main window. The Qt window implements it
// over its widgets; ValuesSettingsWindow over plain values, for the command line and tests.
//
// Each accessor is asked only for the controls of its kind in kSettingRows: Text for the Text
// rows, Choice for the Number rows, CheckBox for the Bool rows. The references must stay valid
// for as long as the window does.
#pragma once

#include <string_view>

#include "settings/CheckableControl.h"
#include "settings/IndexControl.h"
#include "settings/SettingControl.h"
#include "settings/TextControl.h"

namespace lanzhou::settings {

class SettingsWindow {
 public:
  virtual ~SettingsWindow() = default;

  // The window's caption (code page 936); loading sets the caption at rest.
  virtual void SetCaption(std::string_view caption) = 0;
  // An edit box: its whole text, line breaks as CR LF.
  virtual TextControl& Text(SettingControl control) = 0;
  // The tab control's current tab, or a combo box's selected item.
  virtual IndexControl& Choice(SettingControl control) = 0;
  // A check box; its caption is its key in the file.
  virtual CheckableControl& CheckBox(SettingControl control) = 0;
  // Enables and disables the controls to agree with the values just loaded: the first-line,
  // middle-content, extension, title-rewriting and index-page rules, in that order.
  virtual void ApplyEnablementRules() = 0;
};

}  // namespace lanzhou::settings
