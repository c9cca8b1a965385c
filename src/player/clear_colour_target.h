#pragma once

#include "render/colour.h"

namespace cva {

// Where the player's load listener sets the colour the stage is cleared to (the render
// device in the player).
class ClearColourTarget {
 public:
  virtual ~ClearColourTarget() = default;
  virtual void SetClearColour(Colour colour) = 0;
};

}  // namespace cva
