#include "render/draw_state.h"

namespace cva {
namespace {

constexpr uint32_t kFalse = 0;
constexpr uint32_t kTrue = 1;

constexpr uint32_t Value(CompareFunc f) {
  return static_cast<uint32_t>(f);
}
constexpr uint32_t Value(BlendOp op) {
  return static_cast<uint32_t>(op);
}
constexpr uint32_t Value(BlendFactor f) {
  return static_cast<uint32_t>(f);
}

// The alpha reference for a mask threshold: 255 - threshold, kept inside the 0..255 the
// device accepts (a stored threshold outside 0..255 would otherwise wrap around).
uint32_t AlphaRef(int32_t threshold) {
  const int64_t ref = 255 - static_cast<int64_t>(threshold);
  return static_cast<uint32_t>(ref < 0 ? 0 : (ref > 255 ? 255 : ref));
}

}  // namespace

void DrawState::Apply() {
  target_.BeginApply();
  ApplyMaskMode();
  if (mask_mode_ != kWriteMask) ApplyBlendMode();
}

void DrawState::ApplyMaskMode() {
  switch (mask_mode_) {
    case kNoMask:
      Set(RenderState::kAlphaTestEnable, kFalse);
      Set(RenderState::kZEnable, kFalse);
      break;
    case kWriteMask:
      // Writes depth 0 wherever alpha exceeds 255 - threshold, and nothing to the colours.
      Set(RenderState::kAlphaTestEnable, kTrue);
      Set(RenderState::kAlphaFunc, Value(CompareFunc::kGreater));
      Set(RenderState::kAlphaRef, AlphaRef(mask_threshold_));
      Set(RenderState::kAlphaBlendEnable, kTrue);
      Set(RenderState::kBlendOp, Value(BlendOp::kAdd));
      Set(RenderState::kSrcBlend, Value(BlendFactor::kZero));
      Set(RenderState::kDestBlend, Value(BlendFactor::kOne));
      Set(RenderState::kZEnable, kTrue);
      Set(RenderState::kZWriteEnable, kTrue);
      Set(RenderState::kZFunc, Value(CompareFunc::kAlways));
      break;
    case kInsideMask:
      // Passes only where the mask wrote depth 0.
      Set(RenderState::kAlphaTestEnable, kFalse);
      Set(RenderState::kZEnable, kTrue);
      Set(RenderState::kZWriteEnable, kFalse);
      Set(RenderState::kZFunc, Value(CompareFunc::kGreaterEqual));
      break;
    default:
      break;
  }
}

void DrawState::ApplyBlendMode() {
  auto blend = [this](BlendFactor source, BlendFactor destination) {
    Set(RenderState::kAlphaBlendEnable, kTrue);
    Set(RenderState::kBlendOp, Value(BlendOp::kAdd));
    Set(RenderState::kSrcBlend, Value(source));
    Set(RenderState::kDestBlend, Value(destination));
  };
  switch (blend_mode_) {
    case kBlendNormal:
      blend(BlendFactor::kSrcAlpha, BlendFactor::kInvSrcAlpha);
      break;
    case kBlendAdditive:
      blend(BlendFactor::kSrcAlpha, BlendFactor::kOne);
      break;
    case kBlendInverse:
      blend(BlendFactor::kInvDestColour, BlendFactor::kZero);
      break;
    case kBlendOpaque:
      Set(RenderState::kAlphaBlendEnable, kFalse);
      break;
    default:
      break;
  }
}

}  // namespace cva
