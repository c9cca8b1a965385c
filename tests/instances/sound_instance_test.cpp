// Sound instances: the commands of property 20 reach the stream once, when the node draws,
// with the volume and pan of every draw; ranges, loops, stops, resets and undrawn nodes.

#include "scene/objects/sound_instance.h"
#include "instance_rig.h"

namespace cva::testing {
namespace {

using ::testing::ElementsAre;

SoundCommandValue Command(uint8_t command) {
  return SoundCommandValue{command};
}

class SoundInstanceTest : public InstanceTest {
 protected:
  // Sound object 1 (start 1.5, `length`) placed by node 1 with `motions` at label 0, and a
  // stop command at label 3.
  void LoadSound(float length, std::vector<MotionEntry> motions) {
    services.files["beep.wav"] = {0};
    DocumentFile file = MakeDocument(Node(0, {}, {Placing(1, 1, std::move(motions))}));
    file.resources.items = {Resource(0, ResourceKind::kSound, "beep.wav")};
    file.objects.items = {Object(SoundRecord{1, 0, 1.5f, length})};
    AddLabelName(file, 3, "stop");
    file.root.children.items[0].labels.items.push_back(Label(3, {Hold<20>(Command(3))}));
    Load(file);
  }
  std::vector<std::string>& log() { return provider.sound_log; }
};

TEST_F(SoundInstanceTest, PlayOnceRunsTheRangeOnceWithVolumeAndPanOnEveryDraw) {
  LoadSound(2.0f, {Hold<20>(Command(1)), Hold<18>(VolumeValue{400}), Hold<19>(PanValue{-300})});
  TickAndDraw(0.0f);
  EXPECT_THAT(log(), ElementsAre("volume 400", "pan -300", "range 1.5 2 once"));
  log().clear();
  TickAndDraw(10.0f);
  EXPECT_THAT(log(), ElementsAre("volume 400", "pan -300"));
  EXPECT_EQ(provider.streams_created, 1);
}

TEST_F(SoundInstanceTest, LoopWithNegativeLengthPlaysToTheEndAndStopStops) {
  LoadSound(-1.0f, {Hold<20>(Command(2))});
  TickAndDraw(0.0f);
  EXPECT_THAT(log(), ElementsAre("volume 1000", "pan 0", "play 1.5 loop"));
  log().clear();
  host.scene()->RequestLabel(3);
  TickAndDraw(0.0f);
  EXPECT_THAT(log(), ElementsAre("volume 1000", "pan 0", "stop"));
}

TEST_F(SoundInstanceTest, ZeroLengthStillPlaysARange) {
  LoadSound(0.0f, {Hold<20>(Command(1))});
  TickAndDraw(0.0f);
  EXPECT_THAT(log(), ElementsAre("volume 1000", "pan 0", "range 1.5 0 once"));
}

TEST_F(SoundInstanceTest, NodeThatIsNotDrawnNeverPlays) {
  LoadSound(2.0f, {Hold<20>(Command(1)), Hold<1>(DrawCodesValue{0, 0, 2})});
  TickAndDraw(0.0f);
  TickAndDraw(10.0f);
  EXPECT_TRUE(log().empty());
  EXPECT_EQ(provider.streams_created, 0);
}

TEST_F(SoundInstanceTest, ResetDropsThePendingCommandAndStopsTheVoice) {
  LoadSound(2.0f, {Hold<20>(Command(2))});
  TickAndDraw(0.0f);
  log().clear();
  auto& sound = dynamic_cast<SoundInstance&>(*NodeById(1).instance());
  host.scene()->RequestLabel(3);
  host.Advance(0.0f);  // the stop command is pending now
  EXPECT_EQ(sound.pending_command(), SoundInstance::kStop);
  sound.Reset();
  EXPECT_EQ(sound.pending_command(), SoundInstance::kNone);
  EXPECT_THAT(log(), ElementsAre("stop"));
  log().clear();
  provider.inner.Clear();
  host.Draw();
  EXPECT_THAT(log(), ElementsAre("volume 1000", "pan 0"));
}

TEST_F(SoundInstanceTest, MissingSoundResourceDropsTheCommand) {
  DocumentFile file = MakeDocument(Node(0, {}, {Placing(1, 1, {Hold<20>(Command(1))})}));
  file.objects.items = {Object(SoundRecord{1, 7, 0.0f, -1.0f})};  // no resource 7
  Load(file);
  TickAndDraw(0.0f);
  EXPECT_EQ(provider.streams_created, 0);
  EXPECT_EQ(dynamic_cast<SoundInstance&>(*NodeById(1).instance()).pending_command(),
            SoundInstance::kNone);
}

}  // namespace
}  // namespace cva::testing
