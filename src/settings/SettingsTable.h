// The saved settings: one row per control, in the order in which loading and saving handle
// them and in which a new settings file holds them. Load and save both walk this table, so a
// key cannot be saved under one name and looked for under another.
//
// For a check box the key is its caption (the store saves a check box under the caption it
// shows); the window must caption its boxes exactly so.
#pragma once

#include <array>
#include <string_view>

#include "settings/SettingControl.h"
#include "text/GbkLiterals.h"

namespace lanzhou::settings {

// How a row is stored: a text (the control's text), a number (its current tab or selected
// item), a boolean (a check box).
enum class SettingKind { Text, Number, Bool };

struct SettingRow {
  std::string_view key;
  SettingControl control;
  SettingKind kind;
};

inline constexpr std::array<SettingRow, 20> kSettingRows = {{
    {text::kKeyTemplate1, SettingControl::Template1, SettingKind::Text},
    {text::kKeyTemplate2, SettingControl::Template2, SettingKind::Text},
    {text::kKeyTemplate3, SettingControl::Template3, SettingKind::Text},
    {text::kKeyTemplate4, SettingControl::Template4, SettingKind::Text},
    {text::kKeyTemplate5, SettingControl::Template5, SettingKind::Text},
    {text::kKeyTemplateIndex, SettingControl::TemplateTab, SettingKind::Number},
    {text::kKeyTitleSource, SettingControl::TitleSource, SettingKind::Number},
    {text::kKeyStripFirstLine, SettingControl::StripFirstLine, SettingKind::Bool},
    {text::kKeyTakeMiddle, SettingControl::TakeMiddle, SettingKind::Bool},
    {text::kKeyKeepWhenEmpty, SettingControl::KeepWhenEmpty, SettingKind::Bool},
    {text::kKeyUseExtension, SettingControl::UseExtension, SettingKind::Bool},
    {text::kKeyExtension, SettingControl::Extension, SettingKind::Text},
    {text::kKeyMakeIndex, SettingControl::MakeIndex, SettingKind::Bool},
    {text::kKeyPageSize, SettingControl::PageSize, SettingKind::Text},
    {text::kKeyDirectoryFilter, SettingControl::DirectoryFilter, SettingKind::Text},
    {text::kKeyFileEncoding, SettingControl::FileEncoding, SettingKind::Number},
    {text::kKeyReplaceTitle, SettingControl::ReplaceTitle, SettingKind::Bool},
    {text::kKeyUseRegex, SettingControl::UseRegex, SettingKind::Bool},
    {text::kKeyMatchPattern, SettingControl::MatchPattern, SettingKind::Text},
    {text::kKeyReplacement, SettingControl::Replacement, SettingKind::Text},
}};

}  // namespace lanzhou::settings
