#pragma once

namespace vesk {

// One step of the orbit: where the spinning object goes next and how the
// picture is composed there. Pure arithmetic, so that it is testable without
// a window.
struct OrbitStep {
  float angle;  // the new angle, in (0, 2 pi]
  int frame;    // which of the eight sheet frames to show
  int x;        // top-left corner of the 48 x 48 frame
  int y;
  bool behind;  // the object is behind the figure (drawn first)
};

// Advances `angle` by one step on a picture `width` x `height` pixels. The
// angle is kept in single precision while the sums are formed in extended
// precision: the slow drift of the wrap points follows from exactly that.
OrbitStep nextOrbitStep(float angle, int width, int height);

}  // namespace vesk
