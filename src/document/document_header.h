#pragma once

#include <cstdint>

#include "render/colour.h"
#include "stream/record_fields.h"

namespace cva {

// The header of a document. Fields the players do not use are kept for writing back.
struct DocumentHeader {
  Colour background{0, 0, 0, 255};  // clear colour of the stage
  float stage_width = 200.0f;
  float stage_height = 200.0f;
  int32_t value_a = 200;
  float frame_duration = 100.0f;  // milliseconds per animation frame
  uint8_t mode = 2;
  Flag flag_1{true};
  Flag flag_2{false};
  Flag node_names{false};    // every scene node record carries a name
  Flag property_list{true};  // the property list section follows the header
  Flag flag_4{false};
  uint8_t byte_c = 0;
  uint8_t byte_d = 1;  // the encoding tag of the document's texts (read by the converter)

  template <class V>
  void Visit(V& v) {
    v.Byte("red", background.red);
    v.Byte("green", background.green);
    v.Byte("blue", background.blue);
    v.Byte("alpha", background.alpha);
    v.Float("stage_width", stage_width);
    v.Float("stage_height", stage_height);
    v.Int("value_a", value_a);
    v.Float("frame_duration", frame_duration);
    v.Byte("mode", mode);
    v.Flag("flag_1", flag_1);
    v.Flag("flag_2", flag_2);
    v.Flag("node_names", node_names);
    v.Flag("property_list", property_list);
    v.Flag("flag_4", flag_4);
    v.Byte("byte_c", byte_c);
    v.Byte("byte_d", byte_d);
  }
};

}  // namespace cva
