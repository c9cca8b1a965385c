#include "render/soft/soft_sound.h"

#include "stream/text_conversion.h"

namespace cva {

SoftSoundStream::SoftSoundStream(SoftProvider& owner, const SoundResource& sound)
    : owner_(owner), id_(owner.NextStreamId()), sound_(ToUtf8(sound.name())) {}

SoundCall SoftSoundStream::Call(SoundCall::Kind kind) const {
  SoundCall call;
  call.kind = kind;
  call.stream = id_;
  call.sound = sound_;
  return call;
}

void SoftSoundStream::SetPan(int32_t pan) {
  SoundCall call = Call(SoundCall::Kind::kSetPan);
  call.value = pan;
  owner_.RecordSound(std::move(call));
}

void SoftSoundStream::SetVolume(int32_t volume) {
  SoundCall call = Call(SoundCall::Kind::kSetVolume);
  call.value = volume;
  owner_.RecordSound(std::move(call));
}

void SoftSoundStream::PlayRange(float start, float length, bool loop) {
  SoundCall call = Call(SoundCall::Kind::kPlayRange);
  call.start = start;
  call.length = length;
  call.loop = loop;
  owner_.RecordSound(std::move(call));
}

void SoftSoundStream::Play(float start, bool loop) {
  SoundCall call = Call(SoundCall::Kind::kPlay);
  call.start = start;
  call.loop = loop;
  owner_.RecordSound(std::move(call));
}

void SoftSoundStream::Stop() {
  owner_.RecordSound(Call(SoundCall::Kind::kStop));
}

}  // namespace cva
