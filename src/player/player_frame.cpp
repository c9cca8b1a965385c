#include "player/player_frame.h"

#include "player/input_state.h"
#include "player/scene_passes.h"
#include "scene/host/playback_host.h"
#include "system/services.h"

namespace cva {

void PlayerFrame::Run(uint32_t now) {
  if (Scene* scene = host_.scene()) {
    // The hit test uses the position taken at the previous frame.
    passes_.PointerPass(*scene, pointer_.position);
    if (InputState* input = host_.input_state()) pointer_.Update(*input);
    passes_.ControllerPass(*scene, pointer_.ForControllers());
  }
  last_step_ = clock_.Tick(now);
  host_.Advance(last_step_);
  if (host_.document()) host_.Draw();
}

void PlayerFrame::Run() {
  Run(SystemServices().TickCount());
}

void PlayerFrame::ResetClock() {
  clock_.Reset(SystemServices().TickCount());
}

}  // namespace cva
