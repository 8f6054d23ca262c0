// A window's placement as the config store saves it: a placement state (0 and 1 for a normal
// window, 2 and above for minimised and maximised) and the left edge, top edge, width and
// height of its frame, in pixels.
#pragma once

namespace lanzhou::settings {

class WindowGeometry {
 public:
  virtual ~WindowGeometry() = default;

  virtual int PlacementState() const = 0;
  virtual void SetPlacementState(int state) = 0;
  virtual int Left() const = 0;
  virtual int Top() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void Move(int left, int top, int width, int height) = 0;
};

}  // namespace lanzhou::settings
