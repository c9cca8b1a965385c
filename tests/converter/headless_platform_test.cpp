#include "converter/headless_platform.h"

#include <gtest/gtest.h>

#include "document/test_document_bytes.h"
#include "render/image_resource.h"
#include "scene/host/playback_host.h"
#include "sound/sound_resource.h"
#include "support/recording_services.h"

namespace cva {
namespace {

using testing::RecordingServices;
using testing::TestDocument;

EncodedText Sjis(const char* s) {
  return EncodedText::FromNarrow(s);
}

class HeadlessPlatformTest : public ::testing::Test {
 protected:
  RecordingServices services;
  PackList pack_list;
  HeadlessPlatform platform{pack_list};
};

TEST_F(HeadlessPlatformTest, MissingFileShowsTheLoadFailureMessage) {
  EXPECT_EQ(platform.OpenData(Sjis("nothing.cva")), nullptr);
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text, "nothing.cvaが読み込めません。");
  EXPECT_EQ(services.messages[0].caption, "ロードの失敗");
  EXPECT_EQ(services.messages[0].buttons, Services::Buttons::kOk);
  EXPECT_TRUE(pack_list.names().empty());
}

TEST_F(HeadlessPlatformTest, OnlyNamesEndingExactlyInCvaAreRecordedWhenOpened) {
  for (const char* name : {"a.cva", "B.CVA", "c.cva.png", "d.Cva", "e.cva"})
    services.files[name] = {1, 2};
  for (const char* name : {"a.cva", "B.CVA", "c.cva.png", "d.Cva", "e.cva", "a.cva"}) {
    auto request = platform.OpenData(Sjis(name));
    ASSERT_NE(request, nullptr) << name;
    EXPECT_TRUE(request->IsComplete());
    EXPECT_EQ(request->Bytes(), (std::vector<uint8_t>{1, 2}));
  }
  EXPECT_EQ(pack_list.names(), (std::vector<std::string>{"a.cva", "e.cva", "a.cva"}));
  EXPECT_TRUE(services.messages.empty());
}

TEST_F(HeadlessPlatformTest, ImagesRecordTheirNamesWhenLoadedAndSoundsNothing) {
  services.files["b.png"] = {1};
  services.files["a.png"] = {1};
  services.files["s.wav"] = {1};
  auto b = platform.CreateImageResource(Sjis("b.png"));
  auto a = platform.CreateImageResource(Sjis("a.png"));
  auto b_again = platform.CreateImageResource(Sjis("b.png"));
  auto sound = platform.CreateSoundResource(Sjis("s.wav"));
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->LoadDirectly(), LoadableResource::kDone);
  for (auto* image : {b.get(), a.get(), b_again.get()}) image->Start();
  EXPECT_TRUE(pack_list.names().empty());  // recorded at load, not at fetch
  for (auto* image : {b.get(), a.get(), b_again.get()}) {
    image->Poll();
    EXPECT_EQ(image->Poll(), LoadableResource::kDone);
  }
  EXPECT_EQ(pack_list.names(), (std::vector<std::string>{"b.png", "a.png", "b.png"}));
}

class LoadListenerSpy final : public LoadListener {
 public:
  void DocumentLoaded(Document& document) override { loaded.push_back(&document); }
  std::vector<Document*> loaded;
};

class HeadlessHostTest : public HeadlessPlatformTest {
 protected:
  HeadlessHostTest() { host.set_load_listener(&listener); }
  PlaybackHost host{platform};
  LoadListenerSpy listener;
};

TEST_F(HeadlessHostTest, MissingStartDocumentStaysPendingAsFailed) {
  EXPECT_EQ(PlaybackHost::Current(), &host);
  host.StartLoad(Sjis("gone.cva"), Sjis("default"));
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text, "gone.cvaが読み込めません。");
  for (int i = 0; i < 3; ++i) host.Advance(0);
  ASSERT_NE(host.pending_loader(), nullptr);
  EXPECT_EQ(host.pending_loader()->state(), LoadableResource::kFailed);
  EXPECT_EQ(host.document(), nullptr);
  EXPECT_TRUE(listener.loaded.empty());
  EXPECT_EQ(services.messages.size(), 1u);  // a failed loader is not retried
}

TEST_F(HeadlessHostTest, ForeignVersionBecomesAnEmptyCurrentDocument) {
  TestDocument doc;
  doc.version = 20090129;
  services.files["old.cva"] = doc.Bytes();
  host.StartLoad(Sjis("old.cva"), Sjis("default"));
  host.Advance(0);
  host.Advance(0);
  ASSERT_NE(host.document(), nullptr);
  EXPECT_EQ(host.document()->label_names().size(), 0u);
  EXPECT_TRUE(host.document()->queued_labels().empty());  // no such label: no jump
  EXPECT_EQ(listener.loaded.size(), 1u);
}

TEST_F(HeadlessHostTest, MinimalDocumentBecomesCurrentOnTheSecondTick) {
  TestDocument doc;
  doc.labels = {{1000, "default"}, {1001, "other"}};
  doc.resources = {
      {1, true, 0, "b.png"}, {2, true, 0, "a.png"}, {3, true, 0, "b.png"}, {4, true, 1, "s.wav"}};
  TestDocument plain;
  plain.labels = {{1000, "default"}};
  services.files["base.cva"] = plain.Bytes();
  services.files["main.cva"] = doc.Bytes();
  services.files["a.png"] = services.files["b.png"] = {1};

  host.StartLoad(Sjis("base.cva"), Sjis("default"));
  host.Advance(16);
  EXPECT_EQ(host.document(), nullptr);
  host.Advance(16);
  ASSERT_NE(host.document(), nullptr);
  EXPECT_EQ(host.pending_loader(), nullptr);
  EXPECT_EQ(host.document()->queued_labels(), (std::vector<int32_t>{1000}));
  ASSERT_EQ(listener.loaded.size(), 1u);
  EXPECT_EQ(listener.loaded[0], host.document());

  // A second document keeps the first one current until it is done; its images are recorded
  // in fetch order with duplicates kept.
  pack_list.Clear();
  host.StartLoad(Sjis("main.cva"), Sjis("other"));
  const Document* first = host.document();
  int ticks = 0;
  while (host.pending_loader() && ticks < 10) {
    EXPECT_EQ(host.document(), first);
    host.Advance(16);
    ++ticks;
  }
  ASSERT_NE(host.document(), first);
  EXPECT_EQ(host.document()->name(), Sjis("main.cva"));
  EXPECT_EQ(host.document()->queued_labels(), (std::vector<int32_t>{1001}));
  EXPECT_EQ(pack_list.names(), (std::vector<std::string>{"main.cva", "b.png", "a.png", "b.png"}));
  EXPECT_EQ(listener.loaded.size(), 2u);
}

}  // namespace
}  // namespace cva
