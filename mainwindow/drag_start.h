// Where a drag started: the left press's point in twips from the top left of the area pressed.
#pragma once

#include <cstdint>
#include <optional>

namespace sonbrel {

// A press position in twips as a drag start: nearest whole twip, halves to even, held to the
// 16 bits the start point has (a captured press can lie far outside the area).
int16_t DragStartFrom(float twips);

struct DragStep {
  float dx, dy;  // twips
};

class DragStart {
 public:
  // Only a left press starts a drag.
  void Press(int16_t Button, float X, float Y);
  // How far the window must move for the start point to come back under the pointer at X, Y
  // (relative to where the area is now); nothing unless the left button alone is held.
  std::optional<DragStep> Step(int16_t Button, float X, float Y) const;

 private:
  int16_t DragStartX = 0;
  int16_t DragStartY = 0;
};

}  // namespace sonbrel
