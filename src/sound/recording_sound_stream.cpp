#include "sound/recording_sound_stream.h"

#include "sound/sound_resource.h"
#include "stream/text_conversion.h"

namespace cva {

RecordingSoundStream::RecordingSoundStream(std::vector<SoundCall>& calls, int32_t serial,
                                           const SoundResource& sound)
    : calls_(calls), serial_(serial), sound_(ToUtf8(sound.name())) {}

SoundCall& RecordingSoundStream::Record(SoundCall::Kind kind) {
  SoundCall& call = calls_.emplace_back();
  call.kind = kind;
  call.stream = serial_;
  call.sound = sound_;
  return call;
}

void RecordingSoundStream::SetPan(int32_t pan) {
  Record(SoundCall::Kind::kSetPan).value = pan;
}

void RecordingSoundStream::SetVolume(int32_t volume) {
  Record(SoundCall::Kind::kSetVolume).value = volume;
}

void RecordingSoundStream::PlayRange(float start, float length, bool loop) {
  SoundCall& call = Record(SoundCall::Kind::kPlayRange);
  call.start = start;
  call.length = length;
  call.loop = loop;
}

void RecordingSoundStream::Play(float start, bool loop) {
  SoundCall& call = Record(SoundCall::Kind::kPlay);
  call.start = start;
  call.loop = loop;
}

void RecordingSoundStream::Stop() {
  Record(SoundCall::Kind::kStop);
}

}  // namespace cva
