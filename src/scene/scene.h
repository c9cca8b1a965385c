#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "scene/draw_list.h"
#include "scene/track_events.h"

namespace cva {

class DrawState;
class Document;
class SceneLabelListener;
class SceneNode;
class Transform;

// Plays one document's scene tree: keeps its clock, runs label jumps, advances every track,
// combines each node's transform, colour, depth and visibility with its parent's, orders the
// nodes by depth and draws them. The tree itself belongs to the document.
class Scene final : private TrackEvents {
 public:
  // `document` must outlive the scene.
  explicit Scene(Document& document);
  ~Scene() override;
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // Queues a jump to `label` for the next RunQueuedJumps; -1 and a label already queued are
  // ignored.
  void RequestLabel(int32_t label);
  // Jumps to every queued label in request order and empties the queue.
  void RunQueuedJumps();
  // Makes `label` current: the root's on-load track stops, and every node that plays something
  // from `label` restarts the tracks of those motions with them.
  void GotoLabel(int32_t label);

  // One frame of `dt` milliseconds (a negative or non-finite dt counts as 0): advances the clock,
  // updates every node that is not suspended or inactive (a frozen node's children still are), with
  // `root_parent` as the parent transform of the root, and rebuilds the draw list.
  void Update(float dt, const Transform& root_parent);
  // Re-runs the scene to its current frame: recomputes which nodes are hidden, resets every
  // visible node's tracks and instance and updates it once by the time of the whole frames
  // played; the clock keeps its time.
  void Seek(const Transform& root_parent);
  // Draws the nodes of the draw list that have an instance, switching blend and mask modes
  // on `state` as each node asks, and opening and closing mask groups. The list, and the
  // instance and draw codes it keeps for each node, are those of the last Update or Seek.
  void Draw(DrawState& state);

  // Puts the clock back to time 0, frame 0 (an embedded scene restarting at a label).
  void RestartClock() {
    time_ = 0.0f;
    frame_ = 0;
  }

  Document& document() const { return document_; }
  SceneNode* root() const;
  float time() const { return time_; }
  int32_t frame() const { return frame_; }
  int32_t current_label() const { return current_label_; }
  // The length of one frame in milliseconds that the tracks are advanced with: the
  // document's frame duration when it is a positive finite number, otherwise 0.
  float frame_length() const;
  // First node of the draw list (follow SceneNode::draw_next), null when empty.
  SceneNode* draw_first() const { return draw_list_.first(); }
  SceneNode* draw_last() const { return draw_list_.last(); }
  // The draw list as a vector, first drawn first.
  std::vector<SceneNode*> DrawOrder() const;

  void set_label_listener(SceneLabelListener* listener) { label_listener_ = listener; }

  // The frame number reached after `time` milliseconds with frames of `duration`
  // milliseconds: trunc(time / duration), 0 when the duration is not a positive finite
  // number or the time is not finite, and limited to the 32-bit range.
  static int32_t FrameAt(float time, float duration);

 private:
  void UpdateTree(SceneNode& node, float dt, const Transform& root_parent, bool update,
                  bool collect);
  void SeekTree(SceneNode& node, bool parent_hidden, float dt, const Transform& root_parent);
  // The per-node update: advances the tracks, rebuilds the local matrix when a value changed,
  // combines with the parent and updates the instance.
  void UpdateNode(SceneNode& node, float dt, const Transform& root_parent);
  // Requests the root's on-load label: the one for "loaded" when the resources it names (or,
  // with its check-all flag, all nested documents) are done, else the other.
  void RunOnLoadJump();
  // Track events: notes when the root's on-load track reaches a keyframe.
  void KeyframeReached(PropertyTrack& track, const Keyframe& key) override;
  void MotionFinished(PropertyTrack& track) override;

  Document& document_;
  float time_ = 0.0f;
  int32_t frame_ = 0;
  int32_t current_label_ = -1;
  DrawList draw_list_;
  // Scratch matrix for building transforms step by step.
  std::unique_ptr<Transform> scratch_;
  // The outline matrix handed to the provider when a node opens a mask group.
  std::unique_ptr<Transform> mask_matrix_;
  SceneLabelListener* label_listener_ = nullptr;
  // frame_length() during the current update or seek, read once for all the tracks.
  float advance_length_ = 0.0f;
  // Set while a node updates when the root's on-load track reached a keyframe.
  bool on_load_key_reached_ = false;
};

}  // namespace cva
