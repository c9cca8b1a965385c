#include "player/player.h"

#include <utility>

#include "document/resource_provider.h"
#include "player/scene_passes.h"

namespace cva {

Player::Player(std::unique_ptr<ResourceProvider> provider, RenderStateTarget& render_states,
               ClearColourTarget& clear_colour)
    : provider_(std::move(provider)),
      draw_state_(render_states),
      host_(*provider_),
      load_listener_(clear_colour, EncodedText()),
      frame_(host_, ScenePasses::Standard()) {
  host_.set_draw_state(&draw_state_);
  host_.set_input_state(&input_);
  host_.set_load_listener(&load_listener_);
}

Player::~Player() {
  host_.Clear();
}

void Player::StartLoad(const EncodedText& document, const EncodedText& label) {
  load_listener_.set_start_label(label);
  host_.StartLoad(document, label);
}

}  // namespace cva
