#pragma once

// What the fuzz targets that play documents share: a player over a graphics backend whose
// files come from memory, and a pointer script made of input bytes.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "document/composed_provider.h"
#include "headless_load.h"
#include "input_script.h"
#include "player/clear_colour_target.h"
#include "player/player.h"
#include "recording_services.h"
#include "sound/recording_sound_backend.h"

namespace cva::fuzz {

inline constexpr char kDocumentName[] = "fuzz.cva";
// Milliseconds per frame: long enough that a few dozen frames cross several keyframes.
inline constexpr uint32_t kStepMs = 33;

using Files = std::map<std::string, std::vector<uint8_t>>;

// The files the fixtures name (images, nested documents, sounds), read once from the build
// tree, so that documents made from the fixtures load whole.
inline const Files& FixtureFiles() {
  static const Files files = [] {
    Files out;
    for (const auto& entry : std::filesystem::directory_iterator(CVA_FIXTURE_DIR)) {
      std::ifstream in(entry.path(), std::ios::binary);
      out[entry.path().filename().string()].assign(std::istreambuf_iterator<char>(in),
                                                   std::istreambuf_iterator<char>());
    }
    return out;
  }();
  return files;
}

// A player whose files come from memory (the fixtures' files, and what the target adds),
// installed as the process's services for its lifetime, drawing through `graphics` with the
// recording sound backend.
class MemoryPlayer {
 public:
  template <typename Graphics>
  explicit MemoryPlayer(Graphics& graphics)
      : player_(std::make_unique<ComposedProvider>(graphics, sound_), graphics, clear_) {
    services_.files = FixtureFiles();
    player_.clock().SetFixedStep(kStepMs);
  }

  testing::RecordingServices& services() { return services_; }
  Player& player() { return player_; }

  // Loads `name` at the label "default", calling `frame` for every frame it takes. The
  // loader gives up after a bounded number of frames (see session::LoadUntilCurrent).
  template <typename Frame>
  bool Load(const std::string& name, Frame frame) {
    return session::LoadUntilCurrent(player_, name, "default", [&] {
      frame();
      Advance();
    });
  }
  // Runs one frame of the fixed-step clock; the recorded sound calls are dropped so that
  // they do not pile up over a run.
  void Advance() {
    sound_.ClearSoundCalls();
    player_.RunFrame(now_);
    now_ += kStepMs;
  }

 private:
  struct IgnoredClearColour final : ClearColourTarget {
    void SetClearColour(Colour) override {}
  };

  testing::RecordingServices services_;  // first: installed before the player reads files
  RecordingSoundBackend sound_;
  IgnoredClearColour clear_;
  Player player_;
  uint32_t now_ = 0;
};

// Three bytes an event: the frame (low 5 bits) and what happens (high 3 bits: moves, left and
// right button presses and releases, a key), then x and y in steps of 2 stage pixels.
inline std::vector<session::InputEvent> PointerScriptOf(std::span<const uint8_t> bytes) {
  using Kind = session::InputEvent::Kind;
  std::vector<session::InputEvent> events;
  for (size_t i = 0; i + 3 <= bytes.size(); i += 3) {
    session::InputEvent e;
    e.frame = bytes[i] & 0x1f;
    e.x = 2.0f * bytes[i + 1];
    e.y = 2.0f * bytes[i + 2];
    switch (bytes[i] >> 5) {
      case 4:
        e.kind = Kind::kDown, e.button = 1;
        break;
      case 5:
        e.kind = Kind::kUp, e.button = 1;
        break;
      case 6:
        e.kind = (bytes[i + 1] & 1) ? Kind::kDown : Kind::kUp, e.button = 2;
        break;
      case 7:
        e.kind = (bytes[i + 1] & 1) ? Kind::kDown : Kind::kUp, e.button = 4;
        break;
      default:
        e.kind = Kind::kMove;
        break;
    }
    events.push_back(e);
  }
  return events;
}

}  // namespace cva::fuzz
