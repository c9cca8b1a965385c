#include "scene/objects/sound_instance.h"

#include "document/document.h"
#include "document/resource_provider.h"
#include "scene/objects/simple_objects.h"
#include "scene/property_record.h"
#include "scene/property_value.h"
#include "scene/scene_node.h"
#include "sound/sound_resource.h"
#include "sound/sound_stream.h"

namespace cva {
namespace {}  // namespace

SoundInstance::SoundInstance(SoundObject& object, SceneNode& node) : object_(object), node_(node) {
  for (int index : {kVolumeProperty, kPanProperty, kSoundCommandProperty})
    node_.display().AddProperty(index);
}

SoundInstance::~SoundInstance() = default;

SceneObject& SoundInstance::Definition() const {
  return object_;
}

void SoundInstance::Reset() {
  pending_ = kNone;
  if (stream_) stream_->Stop();
}

void SoundInstance::Update(float) {
  const DisplayNode& display = node_.display();
  const PropertyTrack* track = display.track(kSoundCommandProperty);
  if (!track || !track->passed_key()) return;
  if (const auto* command = FieldsOf<kSoundCommandProperty>(display.holder(kSoundCommandProperty)))
    pending_ = command->command;
}

SoundStream* SoundInstance::EnsureStream() {
  if (stream_) return stream_.get();
  Document* document = object_.document();
  if (!document) return nullptr;
  LoadableResource* resource = document->resources().Find(object_.record().sound);
  if (!resource || resource->Kind() != ResourceKind::kSound || !resource->done()) return nullptr;
  stream_ = document->provider().CreateSoundStream(static_cast<SoundResource&>(*resource));
  return stream_.get();
}

void SoundInstance::Draw() {
  SoundStream* stream = EnsureStream();
  const uint8_t command = pending_;
  pending_ = kNone;
  if (!stream) return;  // no playable sound: the command is dropped
  const DisplayNode& display = node_.display();
  if (const auto* volume = FieldsOf<kVolumeProperty>(display.holder(kVolumeProperty)))
    stream->SetVolume(volume->value);
  if (const auto* pan = FieldsOf<kPanProperty>(display.holder(kPanProperty)))
    stream->SetPan(pan->value);
  const SoundRecord& record = object_.record();
  switch (command) {
    case kPlayOnce:
    case kPlayLooping: {
      const bool loop = command == kPlayLooping;
      // A negative length (and a NaN one) plays from the start to the end.
      if (record.length >= 0.0f)
        stream->PlayRange(record.start, record.length, loop);
      else
        stream->Play(record.start, loop);
      break;
    }
    case kStop:
      stream->Stop();
      break;
    default:
      break;
  }
}

}  // namespace cva
