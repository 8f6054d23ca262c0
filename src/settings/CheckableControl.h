// A two-state control with a caption: a check box, a checkable menu item, a toggle button.
// The config store saves its state under its caption, so the caption must be the text the user
// sees (code page 936).
#pragma once

#include <string>

namespace lanzhou::settings {

class CheckableControl {
 public:
  virtual ~CheckableControl() = default;

  virtual std::string Caption() const = 0;
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
};

}  // namespace lanzhou::settings
