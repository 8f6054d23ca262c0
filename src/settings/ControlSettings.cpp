#include "settings/ControlSettings.h"

namespace lanzhou::settings {

using C = SettingControl;

std::array<std::string, generation::kTemplateCount> ControlSettings::templateTexts() const {
  return {TextOf(C::Template1), TextOf(C::Template2), TextOf(C::Template3),
          TextOf(C::Template4), TextOf(C::Template5)};
}
int ControlSettings::selectedTemplate() const { return IndexOf(C::TemplateTab); }
int ControlSettings::titleSource() const { return IndexOf(C::TitleSource); }
bool ControlSettings::stripFirstLine() const { return CheckedOf(C::StripFirstLine); }
bool ControlSettings::takeMiddleContent() const { return CheckedOf(C::TakeMiddle); }
std::string ControlSettings::middleLeftMarker() const { return left_.Text(); }
std::string ControlSettings::middleRightMarker() const { return right_.Text(); }
bool ControlSettings::keepBodyWhenEmpty() const { return CheckedOf(C::KeepWhenEmpty); }
bool ControlSettings::useExtension() const { return CheckedOf(C::UseExtension); }
std::string ControlSettings::extension() const { return TextOf(C::Extension); }
bool ControlSettings::makeIndex() const { return CheckedOf(C::MakeIndex); }
std::string ControlSettings::pageSizeText() const { return TextOf(C::PageSize); }
std::string ControlSettings::directoryFilter() const { return TextOf(C::DirectoryFilter); }
int ControlSettings::fileEncoding() const { return IndexOf(C::FileEncoding); }
bool ControlSettings::replaceTitle() const { return CheckedOf(C::ReplaceTitle); }
bool ControlSettings::useRegex() const { return CheckedOf(C::UseRegex); }
std::string ControlSettings::matchPattern() const { return TextOf(C::MatchPattern); }
std::string ControlSettings::replacementText() const { return TextOf(C::Replacement); }

}  // namespace lanzhou::settings
