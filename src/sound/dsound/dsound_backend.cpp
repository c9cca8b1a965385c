#include "sound/dsound/dsound_backend.h"

#include "sound/dsound/dsound_buffer.h"
#include "sound/dsound/sound_device.h"

namespace cva {

bool DsoundBackend::HasDevice() const {
  return device_.has_device();
}

std::unique_ptr<SecondaryBuffer> DsoundBackend::CreateBuffer(const WaveFormat& format) {
  if (!device_.has_device()) return nullptr;
  return DsoundBuffer::Create(*device_.sound(), format);
}

}  // namespace cva
