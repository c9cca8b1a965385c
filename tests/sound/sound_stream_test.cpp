// Playbacks through a simulated output whose play cursor the test steps: the exact bytes that
// are played, the end of a sound, loops from a start time, restarts, stops, volume and pan.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "sound_rig.h"
#include "wave_bytes.h"

namespace cva::testing {
namespace {

constexpr uint32_t kHalf = SecondaryBuffer::kHalfBytes;

class SoundStreamTest : public ::testing::Test, public SoundRig {};

TEST_F(SoundStreamTest, AShortSoundPlaysItsBytesThenSilenceAndEndsWhenHalfZeroHasPlayed) {
  // 16-bit pads with 0, 8-bit with 128.
  for (const uint16_t bits : {16, 8}) {
    SCOPED_TRACE(bits);
    const std::vector<uint8_t> data = Pattern(1000);
    auto sound = Load("short.wav", Riff({Fmt(2, 11025, bits), Chunk("data", data)}));
    auto stream = Stream(*sound);
    SimulatedOutput& out = backend.outputs.back();
    stream->SetVolume(1200);
    stream->SetVolume(-5);
    stream->SetVolume(900);
    stream->SetPan(2000);
    stream->SetPan(-350);
    EXPECT_EQ(out.volumes(), (std::vector<int32_t>{0, -10000, -1000}));
    EXPECT_EQ(out.pans(), (std::vector<int32_t>{10000, -3500}));

    Play(*stream, out, 0.0f, false);
    const uint8_t silence = bits == 16 ? 0 : 128;
    std::vector<uint8_t> expected = data;
    expected.resize(2 * kHalf, silence);
    EXPECT_EQ(out.ring(), expected);
    EXPECT_TRUE(stream->playing());
    out.Advance(kHalf - 1);
    EXPECT_TRUE(stream->playing());
    out.Advance(1);
    EXPECT_FALSE(out.playing());
    EXPECT_TRUE(Ends(*stream));
    expected.resize(kHalf);
    EXPECT_EQ(out.played(), expected);
  }
}

TEST_F(SoundStreamTest, ALoopFromOneAndAHalfSecondsWrapsToTheFrameAtOrBeforeIt) {
  // 44,100 bytes a second of 4-byte frames: 1.5 s is byte 66,150, inside a frame; playback
  // starts and wraps at the frame's first byte, 66,148.
  const std::vector<uint8_t> data = Pattern(100000);
  auto sound =
      Load("loop.wav", Riff({Fmt(2, 11025, 16), Chunk("LIST", {1, 2, 3}), Chunk("data", data)}));
  auto stream = Stream(*sound);
  SimulatedOutput& out = output();
  Play(*stream, out, 1.5f, true);
  for (int step = 0; step < 6; ++step) out.Advance(kHalf / 2);
  EXPECT_EQ(out.played(), Repeated(Tail(data, 66148), 3 * kHalf));
  EXPECT_TRUE(stream->playing());
  stream->Stop();
  EXPECT_FALSE(out.playing());

  // Without a loop the same start plays the rest once.
  out.ClearPlayed();
  Play(*stream, out, 1.5f, false);
  out.Advance(kHalf);
  std::vector<uint8_t> once = Tail(data, 66148);
  once.resize(kHalf, 0);
  EXPECT_EQ(out.played(), once);
  EXPECT_TRUE(Ends(*stream));
}

TEST_F(SoundStreamTest, LoopsWithNothingToPlayFillSilenceInsteadOfSpinning) {
  // No data chunk at all, and a start past the end of the data.
  auto empty = Load("empty.wav", Riff({Fmt(1, 8000, 8)}));
  auto short_one = Load("short.wav", Riff({Fmt(1, 8000, 8), Chunk("data", Pattern(100))}));
  for (WaveSound* sound : {empty.get(), short_one.get()}) {
    auto stream = Stream(*sound);
    SimulatedOutput& out = backend.outputs.back();
    Play(*stream, out, 5.0f, true);
    out.Advance(kHalf);
    out.Advance(kHalf);
    EXPECT_EQ(out.played(), std::vector<uint8_t>(2 * kHalf, 128));
    EXPECT_TRUE(stream->playing());
  }
}

TEST_F(SoundStreamTest, PlayRestartsAPlayingStreamAndStopReturnsWithinOneWait) {
  const std::vector<uint8_t> data = Pattern(400000);
  auto sound = Load("long.wav", Riff({Fmt(2, 11025, 16), Chunk("data", data)}));
  auto stream = Stream(*sound);
  SimulatedOutput& out = output();
  Play(*stream, out, 0.0f, false);
  out.Advance(kHalf / 2);
  Play(*stream, out, 0.5f, false);  // byte 22,050, in the frame at 22,048
  out.ClearPlayed();
  out.Advance(kHalf / 2);
  std::vector<uint8_t> from_half_second = Tail(data, 22048);
  from_half_second.resize(kHalf / 2);
  EXPECT_EQ(out.played(), from_half_second);

  // Woken, the worker ends at once; not woken, it sees the request when its wait times out.
  for (const bool wake : {true, false}) {
    SCOPED_TRACE(wake);
    if (!wake) {
      out.IgnoreWake();
      Play(*stream, out, 0.0f, true);
    }
    const auto before = std::chrono::steady_clock::now();
    stream->Stop();
    const auto took = std::chrono::steady_clock::now() - before;
    // Woken, within one wait period; not woken, once the wait has timed out, with room for
    // a loaded machine and Wine's coarse timers (measured up to 100 ms there).
    const int bound = BufferedSoundStream::kWaitMs * (wake ? 1 : 3);
    EXPECT_LT(took, std::chrono::milliseconds(bound));
    EXPECT_FALSE(stream->playing());
    EXPECT_FALSE(out.playing());
    const int locks = out.locks();
    std::this_thread::sleep_for(std::chrono::milliseconds(BufferedSoundStream::kWaitMs + 10));
    EXPECT_EQ(out.locks(), locks);
  }
}

}  // namespace
}  // namespace cva::testing
