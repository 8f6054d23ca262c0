#include "settings/ValuesSettingsWindow.h"

#include <string>

namespace lanzhou::settings {

// Exactly one of the three pointers is set, by the row's kind; the others make the control
// read as empty and ignore changes, which only a caller asking for the wrong kind would see.
struct ValuesSettingsWindow::Field final : TextControl, IndexControl, CheckableControl {
  std::string* text = nullptr;
  int* index = nullptr;
  int tabCount = 0;  // a tab control's tabs; 0 for a list, which takes any index
  bool* flag = nullptr;
  std::string_view caption;

  std::string Text() const override { return text != nullptr ? *text : std::string(); }
  void SetText(std::string_view t) override {
    if (text != nullptr) text->assign(t);
  }
  int Index() const override { return index != nullptr ? *index : 0; }
  // A tab control keeps its tab when asked for one it does not have (a hand-edited file), so
  // the selected template always names one of the five.
  void SetIndex(int i) override {
    if (index == nullptr || (tabCount > 0 && (i < 0 || i >= tabCount))) return;
    *index = i;
  }
  std::string Caption() const override { return std::string(caption); }
  bool Checked() const override { return flag != nullptr && *flag; }
  void SetChecked(bool checked) override {
    if (flag != nullptr) *flag = checked;
  }
};

namespace {

std::size_t Slot(SettingControl control) { return static_cast<std::size_t>(control); }

}  // namespace

ValuesSettingsWindow::ValuesSettingsWindow(generation::SettingsValues& values) {
  for (const SettingRow& row : kSettingRows) {
    auto field = std::make_unique<Field>();
    field->caption = row.key;
    switch (row.control) {
      case SettingControl::Template1: field->text = &values.templateTexts[0]; break;
      case SettingControl::Template2: field->text = &values.templateTexts[1]; break;
      case SettingControl::Template3: field->text = &values.templateTexts[2]; break;
      case SettingControl::Template4: field->text = &values.templateTexts[3]; break;
      case SettingControl::Template5: field->text = &values.templateTexts[4]; break;
      case SettingControl::TemplateTab:
        field->index = &values.selectedTemplate;
        field->tabCount = generation::kTemplateCount;
        break;
      case SettingControl::TitleSource: field->index = &values.titleSource; break;
      case SettingControl::StripFirstLine: field->flag = &values.stripFirstLine; break;
      case SettingControl::TakeMiddle: field->flag = &values.takeMiddleContent; break;
      case SettingControl::KeepWhenEmpty: field->flag = &values.keepBodyWhenEmpty; break;
      case SettingControl::UseExtension: field->flag = &values.useExtension; break;
      case SettingControl::Extension: field->text = &values.extension; break;
      case SettingControl::MakeIndex: field->flag = &values.makeIndex; break;
      case SettingControl::PageSize: field->text = &values.pageSizeText; break;
      case SettingControl::DirectoryFilter: field->text = &values.directoryFilter; break;
      case SettingControl::FileEncoding: field->index = &values.fileEncoding; break;
      case SettingControl::ReplaceTitle: field->flag = &values.replaceTitle; break;
      case SettingControl::UseRegex: field->flag = &values.useRegex; break;
      case SettingControl::MatchPattern: field->text = &values.matchPattern; break;
      case SettingControl::Replacement: field->text = &values.replacementText; break;
    }
    fields_[Slot(row.control)] = std::move(field);
  }
}

ValuesSettingsWindow::~ValuesSettingsWindow() = default;

void ValuesSettingsWindow::SetCaption(std::string_view) {}

TextControl& ValuesSettingsWindow::Text(SettingControl control) { return *fields_[Slot(control)]; }

IndexControl& ValuesSettingsWindow::Choice(SettingControl control) {
  return *fields_[Slot(control)];
}

CheckableControl& ValuesSettingsWindow::CheckBox(SettingControl control) {
  return *fields_[Slot(control)];
}

void ValuesSettingsWindow::ApplyEnablementRules() {}

}  // namespace lanzhou::settings
