// What the composed provider does itself rather than its parts: the mesh limits, debug texts,
// the data source it switches to, and the sound calls a recording sound backend keeps.

#include "document/composed_provider.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "render/mesh_limits.h"
#include "sound/recording_sound_backend.h"
#include "sound/sound_resource.h"
#include "sound/sound_stream.h"
#include "support/recording_services.h"

namespace cva::testing {
namespace {

TEST(ComposedProvider, MeshCountsReachTheBackendWithinTheLimits) {
  struct Counts final : InertGraphics {
    std::unique_ptr<MeshPrimitive> CreateMesh(int32_t vertices, int32_t indices) override {
      asked.emplace_back(vertices, indices);
      return InertGraphics::CreateMesh(vertices, indices);
    }
    std::vector<std::pair<int32_t, int32_t>> asked;
  } graphics;
  ComposedProvider provider(graphics);
  for (auto [v, i] : {std::pair{3, 6}, {INT32_MAX, INT32_MAX}, {-5, -1}, {65537, 0xFFFFF * 3 + 1}})
    EXPECT_NE(provider.CreateMesh(v, i), nullptr);
  EXPECT_EQ(graphics.asked,
            (std::vector<std::pair<int32_t, int32_t>>{
                {3, 6}, {kMaxMeshVertices, kMaxMeshIndices}, {0, 0}, {65536, 0xFFFFF * 3}}));
}

TEST(ComposedProvider, DebugPrintKeepsBothEncodingsIgnoresOthersAndPassesThemOn) {
  RecordingServices services;
  ComposedProvider provider;
  provider.DebugPrint(EncodedText::FromUtf16(u"wide"));
  provider.DebugPrint(EncodedText::FromNarrow("narrow"));
  const uint8_t bytes[] = {'x'};
  provider.DebugPrint(EncodedText(7, bytes));
  provider.set_debug_output(false);
  provider.DebugPrint(EncodedText::FromNarrow("kept"));
  EXPECT_EQ(provider.debug_texts(), (std::vector<std::string>{"wide", "narrow", "kept"}));
  EXPECT_EQ(services.debug, (std::vector<std::string>{"wide", "narrow"}));
}

TEST(ComposedProvider, NamedDataFromFilesUntilAnotherSourceIsSet) {
  RecordingServices services;
  services.files["disk.png"] = {1, 2, 3};
  ComposedProvider provider;
  auto request = provider.OpenData(EncodedText::FromNarrow("disk.png"));
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(request->Bytes(), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(provider.OpenData(EncodedText::FromNarrow("none.png")), nullptr);

  struct Members final : DataSource {
    std::unique_ptr<OpenDataRequest> OpenData(const EncodedText& name) override {
      asked.push_back(name.RawNarrow());
      return std::make_unique<CompleteDataRequest>(std::vector<uint8_t>{7, 8});
    }
    std::vector<std::string> asked;
  } members;
  provider.SetDataSource(members);
  request = provider.OpenData(EncodedText::FromNarrow("disk.png"));
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(request->Bytes(), (std::vector<uint8_t>{7, 8}));
  EXPECT_EQ(members.asked, std::vector<std::string>{"disk.png"});
}

TEST(ComposedProvider, RecordingSoundStreamsRecordEveryCallInOrder) {
  InertGraphics graphics;
  RecordingSoundBackend sound;
  ComposedProvider provider(graphics, sound);
  auto bell = provider.CreateSoundResource(EncodedText::FromNarrow("bell.wav"));
  ASSERT_NE(bell, nullptr);
  EXPECT_EQ(bell->LoadDirectly(), LoadableResource::kDone);
  auto first = provider.CreateSoundStream(*bell);
  auto second = provider.CreateSoundStream(*bell);
  first->SetVolume(800);
  first->SetPan(-1000);
  first->Play(1.5f, true);
  second->PlayRange(0.25f, 2.0f, false);
  first->Stop();
  const auto& calls = sound.sound_calls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0].kind, SoundCall::Kind::kSetVolume);
  EXPECT_EQ(calls[0].value, 800);
  EXPECT_EQ(calls[0].sound, "bell.wav");
  EXPECT_EQ(calls[1].kind, SoundCall::Kind::kSetPan);
  EXPECT_EQ(calls[1].value, -1000);
  EXPECT_EQ(calls[2].kind, SoundCall::Kind::kPlay);
  EXPECT_EQ(calls[2].start, 1.5f);
  EXPECT_TRUE(calls[2].loop);
  EXPECT_EQ(calls[3].kind, SoundCall::Kind::kPlayRange);
  EXPECT_EQ(calls[3].stream, 1);
  EXPECT_EQ(calls[3].start, 0.25f);
  EXPECT_EQ(calls[3].length, 2.0f);
  EXPECT_FALSE(calls[3].loop);
  EXPECT_EQ(calls[4].kind, SoundCall::Kind::kStop);
  EXPECT_EQ(calls[4].stream, 0);
  sound.ClearSoundCalls();
  EXPECT_TRUE(sound.sound_calls().empty());
}

}  // namespace
}  // namespace cva::testing
