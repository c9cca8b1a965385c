#pragma once

#include <cstdint>

#include "stream/encoded_text.h"

namespace cva {

// Told by a scene each time it jumps to a label, after the tracks have their new motions.
class SceneLabelListener {
 public:
  virtual ~SceneLabelListener() = default;
  // `name` is the label's entry in the document's label-name table, or null when the table
  // has no name for `label`.
  virtual void LabelEntered(int32_t label, const EncodedText* name) = 0;
};

}  // namespace cva
