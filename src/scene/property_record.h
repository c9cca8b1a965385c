#pragma once

// The stored value of one property, whichever of the 26 property indices it belongs to. The
// alternative's position in the variant is the property index.

#include <cstddef>
#include <cstdint>
#include <variant>

#include "scene/node_property_records.h"
#include "scene/object_property_records.h"

namespace cva {

inline constexpr int kPropertyCount = 26;

// The property indices, named once for the code that reads a property by its index.
inline constexpr int kDepthProperty = 0;
inline constexpr int kDrawCodesProperty = 1;
inline constexpr int kPositionProperty = 2;
inline constexpr int kAngleProperty = 3;
inline constexpr int kScaleProperty = 4;
inline constexpr int kPivotProperty = 5;
inline constexpr int kMaskThresholdProperty = 6;
inline constexpr int kColourProperty = 7;
inline constexpr int kOnLoadJumpProperty = 8;
inline constexpr int kImageSwapProperty = 9;
inline constexpr int kHitCodesProperty = 10;
inline constexpr int kTexOffsetProperty = 11;
inline constexpr int kTexRepeatProperty = 12;
inline constexpr int kNumberValueProperty = 13;
inline constexpr int kNumberFormatProperty = 14;
inline constexpr int kSceneLabelProperty = 15;
inline constexpr int kSceneLoadProperty = 16;
inline constexpr int kParagraphProperty = 17;
inline constexpr int kVolumeProperty = 18;
inline constexpr int kPanProperty = 19;
inline constexpr int kSoundCommandProperty = 20;
inline constexpr int kCornerTopLeftProperty = 21;
inline constexpr int kCornerTopRightProperty = 22;
inline constexpr int kCornerBottomRightProperty = 23;
inline constexpr int kCornerBottomLeftProperty = 24;
inline constexpr int kParticleProperty = 25;

using PropertyValueRecord = std::variant<DepthValue,          // 0
                                         DrawCodesValue,      // 1
                                         PositionValue,       // 2
                                         AngleValue,          // 3
                                         ScaleValue,          // 4
                                         PivotValue,          // 5
                                         MaskThresholdValue,  // 6
                                         ColourValue,         // 7
                                         OnLoadJumpValue,     // 8
                                         ImageSwapValue,      // 9
                                         HitCodesValue,       // 10
                                         TexOffsetValue,      // 11
                                         TexRepeatValue,      // 12
                                         NumberValue,         // 13
                                         NumberFormatValue,   // 14
                                         SceneLabelValue,     // 15
                                         SceneLoadValue,      // 16
                                         ParagraphValue,      // 17
                                         VolumeValue,         // 18
                                         PanValue,            // 19
                                         SoundCommandValue,   // 20
                                         CornerValue,         // 21
                                         CornerValue,         // 22
                                         CornerValue,         // 23
                                         CornerValue,         // 24
                                         ParticleValue>;      // 25
static_assert(std::variant_size_v<PropertyValueRecord> == kPropertyCount);

// The fields of property `I`.
template <size_t I>
using PropertyFields = std::variant_alternative_t<I, PropertyValueRecord>;

// Puts the defaults of property `index` into `record`; false (record unchanged) for an index
// outside 0..25.
bool ResetPropertyValueRecord(PropertyValueRecord& record, int index);

}  // namespace cva
