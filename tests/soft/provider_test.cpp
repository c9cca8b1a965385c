// The provider's plumbing: recorded sound calls, plugged-in sources and factories, debug
// texts and writing the framebuffer as PNG.

#include <gtest/gtest.h>

#include "converter/inert_primitives.h"
#include "render/codec/image_decoder.h"
#include "render/soft/soft_sound.h"
#include "soft_test_support.h"
#include "sound/sound_resource.h"
#include "support/recording_services.h"
#include "support/temp_dir.h"

namespace cva::testing {
namespace {

TEST(SoftProviderTest, SoundStreamsRecordEveryCallInOrder) {
  SoftProvider provider;
  auto sound = provider.CreateSoundResource(EncodedText::FromNarrow("bell.wav"));
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->LoadDirectly(), LoadableResource::kDone);
  auto first = provider.CreateSoundStream(*sound);
  auto second = provider.CreateSoundStream(*sound);
  first->SetVolume(800);
  first->SetPan(-1000);
  first->Play(1.5f, true);
  second->PlayRange(0.25f, 2.0f, false);
  first->Stop();
  const auto& calls = provider.sound_calls();
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
  provider.ClearSoundCalls();
  EXPECT_TRUE(provider.sound_calls().empty());
}

TEST(SoftProviderTest, OpenDataUsesThePluggedSourceAndFilesOtherwise) {
  RecordingServices services;
  SoftProvider provider;
  std::vector<std::string> asked;
  provider.SetDataSource([&](const EncodedText& name) -> std::unique_ptr<OpenDataRequest> {
    asked.push_back(name.RawNarrow());
    return std::make_unique<CompleteDataRequest>(std::vector<uint8_t>{7, 8});
  });
  auto request = provider.OpenData(EncodedText::FromNarrow("member.png"));
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(request->Bytes(), (std::vector<uint8_t>{7, 8}));
  EXPECT_EQ(asked, std::vector<std::string>{"member.png"});
  // Back to files: the services' file map, where a missing file gives no request.
  provider.SetDataSource(nullptr);
  services.files["disk.png"] = {1, 2, 3};
  request = provider.OpenData(EncodedText::FromNarrow("disk.png"));
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(request->Bytes(), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(provider.OpenData(EncodedText::FromNarrow("none.png")), nullptr);
  EXPECT_EQ(asked.size(), 1u);
}

TEST(SoftProviderTest, TextPrimitivesComeFromThePluggedFactory) {
  SoftProvider provider;
  auto inert = provider.CreateTextPrimitive();
  ASSERT_NE(inert, nullptr);
  EXPECT_NE(inert->GetGlyph(0, 1, 'A'), nullptr);
  SoftProvider* seen = nullptr;
  provider.SetTextFactory([&](SoftProvider& owner) -> std::unique_ptr<TextPrimitive> {
    seen = &owner;
    return std::make_unique<InertTextPrimitive>();
  });
  EXPECT_NE(provider.CreateTextPrimitive(), nullptr);
  EXPECT_EQ(seen, &provider);
}

TEST(SoftProviderTest, DebugPrintKeepsBothEncodingsAndIgnoresOthers) {
  RecordingServices services;
  SoftProvider provider;
  provider.DebugPrint(EncodedText::FromUtf16(u"wide"));
  provider.DebugPrint(EncodedText::FromNarrow("narrow"));
  const uint8_t bytes[] = {'x'};
  provider.DebugPrint(EncodedText(7, bytes));
  EXPECT_EQ(provider.debug_texts(), (std::vector<std::string>{"wide", "narrow"}));
  EXPECT_EQ(services.debug, (std::vector<std::string>{"wide", "narrow"}));
}

TEST(SoftProviderTest, MatricesAndTexturesOnlyFromTheirOwnKinds) {
  SoftProvider provider;
  InertTransform foreign;
  EXPECT_EQ(SoftProvider::MatrixOf(foreign), Matrix4::Identity());
  auto own = provider.CreateTransform();
  own->SetTranslation(3, 4);
  EXPECT_EQ(SoftProvider::MatrixOf(*own), Matrix4::Translation(3, 4, 0));
  auto image = provider.CreateImageResource(EncodedText::FromNarrow("idle.png"));
  EXPECT_EQ(SoftProvider::TextureOf(image.get()), nullptr);  // not loaded
  EXPECT_EQ(SoftProvider::TextureOf(nullptr), nullptr);
}

TEST(SoftProviderTest, FramebufferWritesAsPngAndReadsBack) {
  SoftFrame frame(5, 3, {10, 20, 30, 255});
  frame.Quad({1, 1}, {3, 1}, {255, 128, 0, 255});
  TempDir dir;
  std::string error;
  ASSERT_TRUE(WritePng(frame.provider.framebuffer(), dir.File("frame.png"), false, error)) << error;
  DecodedImage decoded;
  ASSERT_TRUE(DecodeImage(ReadBytes(dir.File("frame.png")), decoded, error)) << error;
  EXPECT_EQ(decoded.pixels, frame.provider.framebuffer());
  EXPECT_FALSE(decoded.alpha_channel);  // written as RGB
  EXPECT_EQ(decoded.pixels.At(2, 1), (Texel{255, 128, 0, 255}));
  EXPECT_FALSE(WritePng(frame.provider.framebuffer(), dir.File("no/such/dir.png"), false, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(WritePng(SoftTexture(), dir.File("empty.png"), true, error));
}

}  // namespace
}  // namespace cva::testing
