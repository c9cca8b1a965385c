#pragma once

#include <cstdint>
#include <memory>

#include "scene/instance.h"

namespace cva {

class SceneNode;
class SoundObject;
class SoundStream;

// A sound played by a node. Adds properties 18 (volume), 19 (pan) and 20 (command) to the
// node. A keyframe of property 20 leaves its command pending; the command is carried out by
// Draw, so a node that is not drawn (visibility 2) never plays.
class SoundInstance final : public Instance {
 public:
  enum Command : uint8_t { kNone = 0, kPlayOnce = 1, kPlayLooping = 2, kStop = 3 };

  SoundInstance(SoundObject& object, SceneNode& node);
  ~SoundInstance() override;

  SceneObject& Definition() const override;
  // A sound has no extent.
  Vec2 Size() const override { return {}; }
  // Drops the pending command and stops the voice.
  void Reset() override;
  // Creates the stream on first use, sets its volume and pan, then carries out the pending
  // command once.
  void Draw() override;
  // Takes property 20's value as the pending command when its track reached a keyframe.
  void Update(float dt) override;

  uint8_t pending_command() const { return pending_; }
  // The stream, once the first draw found the sound resource loaded.
  SoundStream* stream() const { return stream_.get(); }

 private:
  // Creates the stream when the object's sound resource exists and is loaded.
  SoundStream* EnsureStream();

  SoundObject& object_;
  SceneNode& node_;
  uint8_t pending_ = kNone;
  std::unique_ptr<SoundStream> stream_;
};

}  // namespace cva
