// WAV files: the chunk walk, refused files, files streamed or held in memory, two playbacks of
// one file, and what the user is told about missing files and a missing device.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sound/inert_sound_stream.h"
#include "sound_rig.h"
#include "support/temp_dir.h"
#include "wave_bytes.h"

namespace cva::testing {
namespace {

using ::testing::HasSubstr;

constexpr uint32_t kHalfStep = SecondaryBuffer::kHalfBytes / 2;

class WaveSoundTest : public ::testing::Test, public SoundRig {};

TEST_F(WaveSoundTest, ChunksAreWalkedBySizeAndThePadByteOfAnOddChunkIsSkipped) {
  const std::vector<uint8_t> data = Pattern(6);
  auto sound =
      Load("a.wav", Riff({Chunk("junk", Pattern(4)), Fmt(1, 22050, 16), Chunk("LIST", Pattern(5)),
                          Chunk("data", data), Chunk("cue ", Pattern(9))}));
  ASSERT_TRUE(sound->done()) << sound->failure();
  const WaveInfo& info = sound->info();
  EXPECT_EQ(info.data_offset, 12 + 12 + 24 + 14 + 8);
  EXPECT_EQ(info.data_size, 6);
  EXPECT_EQ(info.format.samples_per_sec, 22050u);
  EXPECT_EQ(info.format.block_align, 2);
  EXPECT_EQ(info.start_offset, 0);
  // 44,100 bytes a second of 2-byte frames: 0.75 s is byte 33,075, in the frame at 33,074.
  EXPECT_EQ(StartOffsetFor(info.format, 0.75f), 33074);
  EXPECT_FALSE(sound->from_file());
}

TEST_F(WaveSoundTest, DamagedOrUnplayableFilesAreRefusedWithAReason) {
  const auto data = Chunk("data", Pattern(8));
  const struct {
    std::vector<uint8_t> file;
    const char* reason;
  } cases[] = {
      {Riff({Fmt(2, 44100, 16), Chunk("data", Pattern(8), 1000)}), "past the end"},
      {Riff({Fmt(2, 44100, 16, 1, 0), data}), "block alignment 0"},
      {Riff({Fmt(0, 44100, 16), data}), "no channels"},
      {Riff({Fmt(2, 44100, 32, 3), data}), "format 3 is not PCM"},
      {Riff({Fmt(2, 44100, 24), data}), "24 bits"},
      {Riff({Fmt(2, 0, 16), data}), "no sample rate"},
      {Riff({data}), "no complete fmt"},
      {{'R', 'I', 'F'}, "no complete fmt"},
  };
  for (const auto& c : cases) {
    auto sound = Load("bad.wav", c.file);
    EXPECT_EQ(sound->state(), LoadableResource::kFailed) << c.reason;
    EXPECT_THAT(sound->failure(), HasSubstr(c.reason));
    // A refused sound gets a playback that plays nothing.
    EXPECT_NE(dynamic_cast<InertSoundStream*>(backend.CreateSoundStream(*sound).get()), nullptr);
  }
  EXPECT_TRUE(backend.outputs.empty());
}

TEST_F(WaveSoundTest, FilesFrom204800BytesAreStreamedAndEachPlaybackReadsOnItsOwn) {
  TempDir dir;
  const std::vector<uint8_t> data = Pattern(204800 - 44, 3);
  const std::vector<uint8_t> file = Riff({Fmt(2, 44100, 16), Chunk("data", data)});
  ASSERT_EQ(file.size(), 204800u);
  WriteBytes(dir.File("big.wav"), file);
  // An odd data chunk that ends the file without its pad byte: 204,799 bytes.
  std::vector<uint8_t> odd = Riff({Fmt(2, 44100, 16), Chunk("data", Pattern(204799 - 44))});
  odd.pop_back();
  WriteBytes(dir.File("small.wav"), odd);
  SetSystemServices(nullptr);  // the platform's files
  auto big = LoadFile(dir.File("big.wav"));
  auto small = LoadFile(dir.File("small.wav"));
  SetSystemServices(&services);
  ASSERT_TRUE(big && small);
  EXPECT_TRUE(big->done() && small->done());
  EXPECT_TRUE(big->from_file());
  EXPECT_FALSE(small->from_file());

  // Two playbacks of the streamed file, started at different times, played step by step in
  // turn: each gets its own bytes.
  SetSystemServices(nullptr);
  auto first = Stream(*big);
  auto second = Stream(*big);
  SetSystemServices(&services);
  Play(*first, output(0), 0.0f, true);
  Play(*second, output(1), 1.0f, true);
  for (int step = 0; step < 8; ++step) {
    output(0).Advance(kHalfStep);
    output(1).Advance(kHalfStep);
  }
  EXPECT_EQ(output(0).played(), Repeated(data, 8 * kHalfStep));
  EXPECT_EQ(output(1).played(), Repeated(Tail(data, 176400), 8 * kHalfStep));
}

TEST_F(WaveSoundTest, AMissingFileIsToldAndAMissingDeviceOnceWithoutTouchingIt) {
  EXPECT_EQ(backend.CreateSoundResource(provider, EncodedText::FromNarrow("gone.wav")), nullptr);
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text, "gone.wavが読み込めません。");
  EXPECT_EQ(services.messages[0].caption, "ロードの失敗");

  auto sound = Load("ok.wav", Riff({Fmt(1, 8000, 8), Chunk("data", Pattern(10))}));
  backend.device = false;
  for (int i = 0; i < 2; ++i) {
    auto stream = backend.CreateSoundStream(*sound);
    stream->Play(0.0f, true);
    stream->Stop();
  }
  EXPECT_TRUE(backend.outputs.empty());
  ASSERT_EQ(services.messages.size(), 2u);
  EXPECT_EQ(services.messages[1].text, WaveSoundBackend::kNoDeviceText);
  EXPECT_EQ(services.messages[1].caption, WaveSoundBackend::kNoDeviceCaption);
}

}  // namespace
}  // namespace cva::testing
