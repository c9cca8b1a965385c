#pragma once

// Hand-built object entries (type code and record) used by several tests.

#include <cstdint>
#include <vector>

#include "record_io.h"

namespace cva::testing {

inline std::vector<uint8_t> RectBytes(int16_t id = 7) {
  ByteWriter out;
  out.Byte(1);
  out.Short(id);
  PutVec2(out, 3.5f, 4.0f);
  PutColour(out, 1, 2, 3, 4);
  return out.Take();
}

inline std::vector<uint8_t> ImageBytes(int16_t id, int16_t image) {
  ByteWriter out;
  out.Byte(2);
  out.Short(id);
  PutVec2(out, 32.0f, 16.0f);
  PutVec2(out, 0.25f, 0.5f);
  out.Short(image);
  PutColour(out, 9, 8, 7, 6);
  return out.Take();
}

inline void PutJointNode(ByteWriter& out, int32_t object, int16_t children) {
  out.Int(object);
  out.Short(children);
}

// Mesh 1 with joints 10 -> (11 -> (13), 12), a 2 x 3 grid, three vertices (x as bytes, y as
// shorts, no third numbers) on a 5 x 3 texture, and three 16-bit indices.
inline std::vector<uint8_t> MeshBytes(int16_t id = 1, std::vector<int16_t> indices = {0, 1, 2},
                                      int16_t width = 5) {
  ByteWriter out;
  out.Byte(8);
  out.Short(id);
  out.Short(4);  // texture
  PutColour(out, 10, 20, 30, 40);
  PutJointNode(out, 10, 2);
  PutJointNode(out, 11, 1);
  PutJointNode(out, 13, 0);
  PutJointNode(out, 12, 0);
  out.Short(2);  // rows
  out.Short(3);  // columns
  for (uint8_t cell : {1, 2, 3, 4, 5, 6}) out.Byte(cell);
  out.Short(3);  // vertices
  out.Short(111);
  out.Short(-222);
  out.Short(width);
  out.Short(3);  // height
  out.Byte(1);   // x: bytes
  out.Byte(2);   // y: shorts
  out.Byte(7);   // third: not stored
  out.Byte(0);
  out.Short(0);
  out.Byte(200);
  out.Short(-3);
  out.Byte(4);
  out.Short(2);
  out.Short(static_cast<int16_t>(indices.size()));
  if (indices.empty()) return out.Take();
  out.Byte(2);  // index width
  out.Byte(0);  // index numbers follow
  for (int16_t i : indices) out.Short(i);
  return out.Take();
}

inline std::vector<uint8_t> JointBytes(int16_t id) {
  ByteWriter out;
  out.Byte(9);
  out.Short(id);
  out.Int(-77);
  PutVec2(out, 6.0f, 8.0f);
  PutVec2(out, 1.0f, 2.0f);
  return out.Take();
}

inline std::vector<uint8_t> WarpBytes(int16_t id, int32_t columns, int32_t rows) {
  ByteWriter out;
  out.Byte(10);
  out.Short(id);
  out.Short(3);  // image
  PutVec2(out, 1.0f, 2.0f);
  out.Int(columns);
  out.Int(rows);
  PutColour(out, 5, 6, 7, 8);
  PutVec2(out, 3.0f, 4.0f);
  PutVec2(out, 5.0f, 6.0f);
  return out.Take();
}

inline void PutEasePoint(ByteWriter& out, float x, float y, uint8_t curve) {
  out.Float(x);
  out.Float(y);
  out.Byte(curve);
  if (curve == 3) {
    PutVec2(out, 1.0f, 2.0f);
    PutVec2(out, 3.0f, 4.0f);
  } else if (curve == 4) {
    out.Float(2.0f);
    out.Float(0.5f);
  }
}

inline std::vector<uint8_t> ParticleBytes(int16_t id) {
  ByteWriter out;
  out.Byte(11);
  out.Short(id);
  PutVec2(out, 8.0f, 9.0f);
  PutVec2(out, 0.5f, 0.0f);
  out.Short(2);
  PutColour(out, 1, 1, 1, 1);
  PutColour(out, 2, 2, 2, 2);  // colour A
  PutColour(out, 3, 3, 3, 3);  // colour B
  for (float f : {1.0f, 2.0f, 3.0f}) out.Float(f);
  PutVec2(out, 4.0f, 5.0f);
  PutVec2(out, 6.0f, 7.0f);
  out.Float(8.0f);
  PutVec2(out, 9.0f, 10.0f);
  PutVec2(out, 11.0f, 12.0f);
  for (int32_t i : {13, 14, -15}) out.Int(i);
  out.Int(2);
  PutEasePoint(out, 0.0f, 0.0f, 3);
  PutEasePoint(out, 1.0f, 1.0f, 4);
  out.Int(0);
  out.Int(-5);  // an unusual empty count, kept
  out.Int(1);
  PutEasePoint(out, 0.5f, 0.25f, 1);
  return out.Take();
}

}  // namespace cva::testing
