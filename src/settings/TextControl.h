// A control that shows a text: an edit box (its whole content, line breaks as CR LF), a combo
// box's edit text, a label. Texts are code page 936.
#pragma once

#include <string>
#include <string_view>

namespace lanzhou::settings {

class TextControl {
 public:
  virtual ~TextControl() = default;

  virtual std::string Text() const = 0;
  virtual void SetText(std::string_view text) = 0;
};

}  // namespace lanzhou::settings
