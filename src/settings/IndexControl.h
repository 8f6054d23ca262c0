// A control with a current position: the current tab of a tab control, the selected item of a
// combo box (-1 when none is selected). SetIndex hands over any number, also one outside the
// control's range (a hand-edited settings file); the control decides what that shows.
#pragma once

namespace lanzhou::settings {

class IndexControl {
 public:
  virtual ~IndexControl() = default;

  virtual int Index() const = 0;
  virtual void SetIndex(int index) = 0;
};

}  // namespace lanzhou::settings
