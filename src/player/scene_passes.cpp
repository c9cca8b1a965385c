#include "player/scene_passes.h"

#include "scene/controller/controller_pass.h"
#include "scene/hit/hit_test.h"

namespace cva {
namespace {

class StandardPasses final : public ScenePasses {
 public:
  void PointerPass(Scene& scene, Vec2 point) override { HitTest(scene, point, true); }
  void ControllerPass(Scene& scene, const ControllerInput& input) override {
    RunControllerPass(scene, input);
  }
};

}  // namespace

ScenePasses& ScenePasses::Standard() {
  static StandardPasses passes;
  return passes;
}

}  // namespace cva
