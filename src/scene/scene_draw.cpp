// Drawing a scene: draw states per node and mask groups.
#include "document/document.h"
#include "document/resource_provider.h"
#include "render/draw_state.h"
#include "render/primitives.h"
#include "scene/display_node.h"
#include "scene/prefetch.h"
#include "scene/property_value.h"
#include "scene/scene.h"
#include "scene/scene_node.h"

namespace cva {
namespace {

constexpr int kMaskThreshold = 6;
constexpr int kTexRepeat = 12;

// Mask codes of property 1.
constexpr uint8_t kWritesMask = 2;
constexpr uint8_t kInsideMask = 3;
constexpr uint8_t kInsideAndCloses = 4;
constexpr uint8_t kAdditiveCode = 2;

// The map from the node's local units to the stage that outlines its extent: the world
// matrix, preceded by the texture repeat (scale by the counts, then a shift by the extent
// along each negative count) when the node has one.
void BuildMaskMatrix(const SceneNode& node, Vec2 extent, Transform& out, Transform& scratch) {
  const DisplayNode& display = node.display();
  const TexRepeatValue* repeat = display.fields<kTexRepeat>();
  if (!repeat) {
    out.CopyFrom(display.world());
    return;
  }
  out.SetScale(static_cast<float>(repeat->count_x), static_cast<float>(repeat->count_y));
  scratch.SetTranslation(repeat->count_x < 0 ? extent.x : 0.0f,
                         repeat->count_y < 0 ? extent.y : 0.0f);
  out.PostMultiply(scratch);
  out.PostMultiply(display.world());
}

}  // namespace

void Scene::Draw(DrawState& state) {
  state.SetBlendMode(DrawState::kBlendNormal);
  state.SetMaskMode(DrawState::kNoMask);
  state.SetMaskThreshold(255);
  state.Apply();

  ResourceProvider& provider = document_.provider();
  const size_t count = draw_list_.size();
  for (size_t i = 0; i < count; ++i) {
    // The list holds what is needed to choose the states; the node itself is read only for
    // the mask threshold and by the instance.
    if (i + 4 < count) {
      // What the instance of a node a few places ahead will read lies with that node, far
      // from the list: it is requested now.
      const DrawList::Entry& ahead = draw_list_.entry(i + 4);
      PrefetchForRead(ahead.instance);
      ahead.node->display().PrefetchDrawData();
    }
    const DrawList::Entry& entry = draw_list_.entry(i);
    Instance* instance = entry.instance;
    if (!instance) continue;
    SceneNode* node = entry.node;
    const DisplayNode& display = node->display();
    const uint8_t blend_code = entry.blend_code;
    const uint8_t mask_code = entry.mask_code;
    const int32_t blend =
        blend_code == kAdditiveCode ? DrawState::kBlendAdditive : DrawState::kBlendNormal;
    int32_t mask = DrawState::kNoMask;
    if (mask_code == kWritesMask) mask = DrawState::kWriteMask;
    if (mask_code == kInsideMask || mask_code == kInsideAndCloses) mask = DrawState::kInsideMask;
    const MaskThresholdValue* threshold =
        mask_code == kWritesMask ? display.fields<kMaskThreshold>() : nullptr;
    const bool sets_threshold = threshold != nullptr;

    if (blend != state.BlendMode() || mask != state.MaskMode() ||
        (sets_threshold && threshold->threshold != state.MaskThreshold())) {
      state.SetBlendMode(blend);
      state.SetMaskMode(mask);
      if (sets_threshold) state.SetMaskThreshold(threshold->threshold);
      state.Apply();
    }
    if (mask_code == kWritesMask) {
      const Vec2 extent = instance->Size();
      BuildMaskMatrix(*node, extent, *mask_matrix_, *scratch_);
      provider.BeginMask(*mask_matrix_, extent);
    }
    instance->Draw();
    if (mask_code == kInsideAndCloses) provider.EndMask();
  }
  provider.EndMask();
}

}  // namespace cva
