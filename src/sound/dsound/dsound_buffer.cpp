#include "sound/dsound/dsound_buffer.h"

namespace cva {

std::unique_ptr<DsoundBuffer> DsoundBuffer::Create(IDirectSound& sound, const WaveFormat& f) {
  WAVEFORMATEX format{};
  format.wFormatTag = f.format_tag;
  format.nChannels = f.channels;
  format.nSamplesPerSec = f.samples_per_sec;
  format.nAvgBytesPerSec = f.avg_bytes_per_sec;
  format.nBlockAlign = f.block_align;
  format.wBitsPerSample = f.bits_per_sample;
  DSBUFFERDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_CTRLPOSITIONNOTIFY |
                        DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY |
                        DSBCAPS_LOCSOFTWARE;
  description.dwBufferBytes = kBytes;
  description.lpwfxFormat = &format;
  std::unique_ptr<DsoundBuffer> buffer(new DsoundBuffer());
  if (FAILED(sound.CreateSoundBuffer(&description, buffer->buffer_.Receive(), nullptr)))
    return nullptr;
  for (HANDLE& event : buffer->events_) {
    event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!event) return nullptr;
  }
  if (FAILED(buffer->buffer_->QueryInterface(IID_IDirectSoundNotify,
                                             reinterpret_cast<void**>(buffer->notify_.Receive()))))
    return nullptr;
  DSBPOSITIONNOTIFY positions[2] = {{kHalfBytes - 1, buffer->events_[0]},
                                    {kBytes - 1, buffer->events_[1]}};
  if (FAILED(buffer->notify_->SetNotificationPositions(2, positions))) return nullptr;
  return buffer;
}

DsoundBuffer::~DsoundBuffer() {
  notify_.Reset();
  buffer_.Reset();
  for (HANDLE event : events_)
    if (event) CloseHandle(event);
}

uint8_t* DsoundBuffer::Lock(uint32_t offset, uint32_t size) {
  void* first = nullptr;
  DWORD first_size = 0;
  // The halves never wrap, so the second part stays empty.
  if (FAILED(buffer_->Lock(offset, size, &first, &first_size, nullptr, nullptr, 0)) ||
      first_size != size) {
    if (first) buffer_->Unlock(first, first_size, nullptr, 0);
    return nullptr;
  }
  return static_cast<uint8_t*>(first);
}

void DsoundBuffer::Unlock(uint8_t* region, uint32_t size) {
  buffer_->Unlock(region, size, nullptr, 0);
}

void DsoundBuffer::SetPosition(uint32_t offset) {
  buffer_->SetCurrentPosition(offset);
}

void DsoundBuffer::PlayLooping() {
  ResetEvent(events_[0]);
  ResetEvent(events_[1]);
  buffer_->Play(0, 0, DSBPLAY_LOOPING);
}

void DsoundBuffer::Stop() {
  buffer_->Stop();
}

void DsoundBuffer::SetVolume(int32_t hundredths_db) {
  buffer_->SetVolume(hundredths_db);
}

void DsoundBuffer::SetPan(int32_t hundredths_db) {
  buffer_->SetPan(hundredths_db);
}

int DsoundBuffer::WaitForHalf(uint32_t timeout_ms) {
  switch (WaitForMultipleObjects(3, events_, FALSE, timeout_ms)) {
    case WAIT_OBJECT_0:
      return 0;
    case WAIT_OBJECT_0 + 1:
      return 1;
    case WAIT_OBJECT_0 + 2:
      return kWoken;
    default:
      return kTimedOut;
  }
}

void DsoundBuffer::Wake() {
  SetEvent(events_[2]);
}

}  // namespace cva
