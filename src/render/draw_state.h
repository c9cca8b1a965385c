#pragma once

// The render state switched before primitives draw: how a primitive blends with what is
// already drawn, and whether it writes or is clipped by the one-bit depth mask. The scene sets
// the modes per drawn node; Apply hands the resulting render states, in a fixed order, to the
// graphics backend.

#include <cstdint>

namespace cva {

// Render states the draw state switches. The backend maps them onto the device's own.
enum class RenderState : uint8_t {
  kAlphaTestEnable,
  kAlphaFunc,
  kAlphaRef,
  kAlphaBlendEnable,
  kBlendOp,
  kSrcBlend,
  kDestBlend,
  kZEnable,
  kZWriteEnable,
  kZFunc,
};

// Values of the comparison states (kAlphaFunc, kZFunc).
enum class CompareFunc : uint32_t { kGreater = 1, kGreaterEqual = 2, kAlways = 3 };
// Values of kBlendOp.
enum class BlendOp : uint32_t { kAdd = 1 };
// Values of kSrcBlend and kDestBlend.
enum class BlendFactor : uint32_t {
  kZero = 1,
  kOne = 2,
  kSrcAlpha = 3,
  kInvSrcAlpha = 4,
  kInvDestColour = 5,
};

// Receives the render states of an Apply, one at a time, in the order they are to be set.
// Boolean states carry 0 or 1; the others carry the enum values above or a number (kAlphaRef).
class RenderStateTarget {
 public:
  virtual ~RenderStateTarget() = default;
  // Called once at the start of every Apply, before its states.
  virtual void BeginApply() {}
  virtual void SetRenderState(RenderState state, uint32_t value) = 0;
};

class DrawState {
 public:
  // Mask modes.
  static constexpr int32_t kNoMask = 0;
  static constexpr int32_t kWriteMask = 1;
  static constexpr int32_t kInsideMask = 2;
  // Blend modes.
  static constexpr int32_t kBlendNormal = 0;
  static constexpr int32_t kBlendAdditive = 1;
  static constexpr int32_t kBlendInverse = 2;  // source x (1 - destination)
  static constexpr int32_t kBlendOpaque = 3;

  // `target` (not owned) receives the states of every Apply; it must outlive this object.
  explicit DrawState(RenderStateTarget& target) : target_(target) {}

  void SetMaskThreshold(int32_t threshold) { mask_threshold_ = threshold; }
  int32_t MaskThreshold() const { return mask_threshold_; }
  void SetMaskMode(int32_t mode) { mask_mode_ = mode; }
  int32_t MaskMode() const { return mask_mode_; }
  void SetBlendMode(int32_t mode) { blend_mode_ = mode; }
  int32_t BlendMode() const { return blend_mode_; }

  // Sets the render states of the mask mode, then (except while writing a mask) those of the
  // blend mode. Unknown modes set nothing.
  void Apply();

 private:
  void ApplyMaskMode();
  void ApplyBlendMode();
  void Set(RenderState state, uint32_t value) { target_.SetRenderState(state, value); }

  RenderStateTarget& target_;
  int32_t mask_mode_ = 0;
  int32_t blend_mode_ = 0;
  int32_t mask_threshold_ = 0;
};

}  // namespace cva
