#include "scene/display_node.h"

#include "document/resource_provider.h"

namespace cva {
namespace {

std::unique_ptr<Transform> IdentityTransform(ResourceProvider& provider) {
  std::unique_ptr<Transform> transform = provider.CreateTransform();
  if (transform) transform->SetIdentity();
  return transform;
}

}  // namespace

DisplayNode::DisplayNode(ResourceProvider& provider)
    : local_(IdentityTransform(provider)),
      parent_base_(IdentityTransform(provider)),
      world_(IdentityTransform(provider)) {
  for (int index = kFirstNodeProperty; index <= kLastNodeProperty; ++index) AddProperty(index);
  DrawCodesValue& codes = *FieldsOf<1>(holder(1));
  codes.blend = 1;
  codes.mask = 1;
  codes.visibility = kParentVisibility;
  track(1)->Reset();  // the track starts from the node's own codes
}

PropertyValue* DisplayNode::AddProperty(int index) {
  if (index < 0 || index >= kPropertyCount) return nullptr;
  const size_t i = static_cast<size_t>(index);
  if (!holders_[i]) {
    holders_[i] = CreatePropertyValue(index);
    tracks_[i] = std::make_unique<PropertyTrack>(*holders_[i]);
  }
  return holders_[i].get();
}

PropertyValue* DisplayNode::holder(int index) const {
  if (index < 0 || index >= kPropertyCount) return nullptr;
  return holders_[static_cast<size_t>(index)].get();
}

PropertyTrack* DisplayNode::track(int index) const {
  if (index < 0 || index >= kPropertyCount) return nullptr;
  return tracks_[static_cast<size_t>(index)].get();
}

void DisplayNode::ResetTracks() {
  for (const std::unique_ptr<PropertyTrack>& track : tracks_) {
    if (track) track->Reset();
  }
}

}  // namespace cva
