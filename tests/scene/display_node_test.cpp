// A display node keeps its values, start values, tracks and (portable) transforms in its own
// storage; these tests fill it past its inline part and check that nothing overlaps and that
// the per-node track flags follow the tracks.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "document/composed_provider.h"
#include "render/matrix_transform.h"
#include "render/record/recording_provider.h"
#include "scene/display_node.h"
#include "scene/motion.h"
#include "test_provider.h"

namespace cva {
namespace {

// Adds every property to `display`, writes a few values and checks that each value, start
// value and track is its own and that no write landed on another object.
void CheckEveryPropertyKeepsItsOwnStorage(DisplayNode& display) {
  for (int index = 0; index < kPropertyCount; ++index)
    ASSERT_NE(display.AddProperty(index), nullptr);
  EXPECT_EQ(display.AddProperty(kPropertyCount), nullptr);
  // Writes go through the typed fields of the depth, position and colour values and their
  // start values; every other value keeps its defaults.
  display.fields<0>()->depth = 11;
  display.fields<2>()->position = {5.0f, 6.0f};
  display.fields<7>()->colour = {1, 2, 3, 4};
  display.fields<25>();   // the last index has typed access as well
  display.ResetTracks();  // start values take the holders' values
  for (int index = 0; index < kPropertyCount; ++index) {
    const PropertyTrack* track = display.track(index);
    ASSERT_NE(track, nullptr) << index;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(track) % alignof(PropertyTrack), 0u) << index;
    EXPECT_EQ(&track->holder(), display.holder(index)) << index;
    EXPECT_EQ(track->property(), index);
    EXPECT_EQ(display.holder(index)->Index(), index);
    EXPECT_EQ(track->start().Index(), index);
    EXPECT_NE(&track->start(), display.holder(index));
    EXPECT_TRUE(track->start().ToRecord() == display.holder(index)->ToRecord()) << index;
  }
  EXPECT_EQ(display.fields<0>()->depth, 11);
  EXPECT_EQ(display.fields<2>()->position, (Vec2{5.0f, 6.0f}));
  EXPECT_EQ(display.fields<7>()->colour, (Colour{1, 2, 3, 4}));
  EXPECT_EQ(display.fields<4>()->scale, (Vec2{1.0f, 1.0f}));
  EXPECT_EQ(display.fields<1>()->visibility, DisplayNode::kParentVisibility);
}

TEST(DisplayNodeStorage, EveryPropertyKeepsItsOwnValuesAndTrackWithEitherKindOfTransform) {
  ComposedProvider portable;
  DisplayNode kept(portable);
  ASSERT_NE(kept.world_matrix(), nullptr);  // portable transforms are computed directly
  kept.world().SetTranslation(3.0f, 4.0f);
  EXPECT_EQ(kept.world_matrix()->m[3][0], 3.0f);
  CheckEveryPropertyKeepsItsOwnStorage(kept);
  EXPECT_EQ(RecordedMatrix(kept.world()).m[3][1], 4.0f);  // not overwritten by any value

  testing::SceneTestProvider device;
  DisplayNode from_provider(device);
  EXPECT_EQ(from_provider.world_matrix(), nullptr);  // other transforms stay the provider's
  EXPECT_EQ(device.transforms_created, 2);
  CheckEveryPropertyKeepsItsOwnStorage(from_provider);
  EXPECT_TRUE(testing::IsIdentity(from_provider.parent_base()));  // made on first use
  EXPECT_EQ(&from_provider.parent_base(), &from_provider.parent_base());
  EXPECT_EQ(device.transforms_created, 3);
}

TEST(DisplayNodeStorage, TrackFlagsFollowMotionsAndInheritance) {
  ComposedProvider provider;
  DisplayNode display(provider);
  EXPECT_EQ(display.track_flags().advancing, 0u);
  EXPECT_EQ(display.track_flags().not_inheriting, 0u);

  MotionRecord record;
  record.property = 3;
  record.keyframes.items.emplace_back();
  record.keyframes.items.back().property = 3;
  const auto motion = Motion::FromRecord(record, nullptr);
  PropertyTrack& angle = *display.track(3);
  angle.SetMotion(motion.get());
  EXPECT_EQ(display.track_flags().advancing, 1u << 3);
  angle.Advance(10.0f, 16.0f);
  EXPECT_TRUE(angle.passed_key());
  EXPECT_EQ(display.track_flags().advancing, 1u << 3);  // still has its motion

  // Losing the motion keeps the track on the list until an advance clears its passed key.
  angle.SetMotion(nullptr);
  EXPECT_EQ(display.track_flags().advancing, 1u << 3);
  EXPECT_FALSE(angle.Advance(10.0f, 16.0f));
  EXPECT_FALSE(angle.passed_key());
  EXPECT_EQ(display.track_flags().advancing, 0u);

  display.track(7)->set_inherit(false);
  display.track(2)->set_inherit(false);
  EXPECT_EQ(display.track_flags().not_inheriting, (1u << 7) | (1u << 2));
  display.track(7)->set_inherit(true);
  EXPECT_EQ(display.track_flags().not_inheriting, 1u << 2);
}

}  // namespace
}  // namespace cva
