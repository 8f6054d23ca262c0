// The options of a run as plain values, for the command line and the tests: the same live view
// as the window's, over controls that each hold one field of `values`. Edits to `values` take
// effect at the run's next read, as edits in the window do.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "generation/GenerationSettings.h"
#include "settings/ControlSettings.h"
#include "settings/ValuesSettingsWindow.h"

namespace lanzhou::settings {

namespace detail {

// A text control over one string.
class ValueText final : public TextControl {
 public:
  explicit ValueText(std::string& text) : text_(text) {}
  std::string Text() const override { return text_; }
  void SetText(std::string_view t) override { text_.assign(t); }

 private:
  std::string& text_;
};

// Built before the view that reads them (a base constructed first).
struct PlainControls {
  explicit PlainControls(generation::SettingsValues v) : values(std::move(v)) {}
  generation::SettingsValues values;
  ValuesSettingsWindow window{values};
  ValueText left{values.middleLeftMarker};
  ValueText right{values.middleRightMarker};
};

}  // namespace detail

class PlainSettings final : private detail::PlainControls, public ControlSettings {
 public:
  PlainSettings() : PlainSettings(generation::SettingsValues{}) {}
  explicit PlainSettings(generation::SettingsValues v)
      : PlainControls(std::move(v)), ControlSettings(window, left, right) {}
  PlainSettings(const PlainSettings&) = delete;
  PlainSettings& operator=(const PlainSettings&) = delete;

  // Public on purpose: tests and the command line edit the options, also during a run.
  using PlainControls::values;
  // The same values as the settings file sees them.
  SettingsWindow& Window() { return window; }
};

}  // namespace lanzhou::settings
