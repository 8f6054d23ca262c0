// The options of a run, read live from the controls that hold them.
//
// This is the one mapping from options to controls. The main window hands over its controls
// (the ones whose state is saved, through SettingsWindow, and the two marker boxes, which are
// not saved); the command line and the tests hand over plain values through PlainSettings.
// Nothing is cached: every read asks the control at that moment, so an edit made while a run
// pumps events takes effect at the run's next read.
#pragma once

#include <array>
#include <string>

#include "generation/GenerationSettings.h"
#include "settings/SettingsWindow.h"
#include "settings/TextControl.h"

namespace lanzhou::settings {

class ControlSettings : public generation::GenerationSettings {
 public:
  // Every reference must outlive the view.
  ControlSettings(SettingsWindow& window, TextControl& leftMarker, TextControl& rightMarker)
      : window_(window), left_(leftMarker), right_(rightMarker) {}

  std::array<std::string, generation::kTemplateCount> templateTexts() const override;
  int selectedTemplate() const override;
  int titleSource() const override;
  bool stripFirstLine() const override;
  bool takeMiddleContent() const override;
  std::string middleLeftMarker() const override;
  std::string middleRightMarker() const override;
  bool keepBodyWhenEmpty() const override;
  bool useExtension() const override;
  std::string extension() const override;
  bool makeIndex() const override;
  std::string pageSizeText() const override;
  std::string directoryFilter() const override;
  int fileEncoding() const override;
  bool replaceTitle() const override;
  bool useRegex() const override;
  std::string matchPattern() const override;
  std::string replacementText() const override;

 private:
  std::string TextOf(SettingControl c) const { return window_.Text(c).Text(); }
  bool CheckedOf(SettingControl c) const { return window_.CheckBox(c).Checked(); }
  int IndexOf(SettingControl c) const { return window_.Choice(c).Index(); }

  SettingsWindow& window_;
  TextControl& left_;
  TextControl& right_;
};

}  // namespace lanzhou::settings
