#include "trace_session.h"

#include <filesystem>

#include "document/document.h"
#include "headless_load.h"
#include "png_size.h"
#include "render/image_resource.h"
#include "scene/controller/node_controller.h"
#include "scene/controller/process_variables.h"
#include "scene/hit/node_shape.h"
#include "scene/instance.h"
#include "scene/objects/image_instance.h"
#include "scene/objects/mesh_object.h"
#include "scene/objects/scene_object.h"
#include "scene/objects/simple_objects.h"
#include "scene/objects/text_instance.h"
#include "scene/objects/textured_objects.h"
#include "scene/scene.h"
#include "scene/scene_node.h"
#include "scene/text/text_node.h"
#include "stream/text_conversion.h"

namespace cva::trace {
namespace {

std::optional<std::string> Utf8Of(const EncodedText* text) {
  if (!text) return std::nullopt;
  return ToUtf8(*text);
}

void AddVariables(const VariableTable& table, VariableTrace::Scope scope, int32_t node,
                  std::vector<VariableTrace>& out) {
  for (const auto& [id, variable] : table) out.push_back({scope, node, id, variable.value()});
}

JointTrace JointOf(const JointObject& joint) {
  JointTrace t;
  if (const MeshObject* owner = joint.owner()) t.owner = owner->id();
  if (const JointObject* parent = joint.parent()) t.parent = parent->id();
  for (const JointObject* child : joint.children()) t.children.push_back(child->id());
  return t;
}

TextTrace TextOf(const TextInstance& instance) {
  TextTrace t;
  t.paragraph = instance.reveal().paragraph();
  t.revealed = instance.reveal().count();
  const auto& object = static_cast<const TextObject&>(instance.Definition());
  if (const TextNode* layout = object.text_node()) {
    t.fonts = layout->fonts();
    t.paragraphs = layout->paragraphs();
    t.pending = layout->pending_commands();
  }
  return t;
}

// What only traces that ask for them show: property values, the shown image, joint links and
// text layout.
void CaptureDetails(const SceneNode& node, const TraceOptions& options, NodeTrace& t) {
  const Instance* instance = node.instance();
  if (options.properties) {
    for (int index = 0; index < kPropertyCount; ++index)
      if (const PropertyValue* value = node.display().holder(index))
        t.properties.push_back(value->ToRecord());
    if (const auto* image = dynamic_cast<const ImageInstance*>(instance))
      t.shown_object = image->Shown().id();
    if (instance)
      if (const auto* joint = dynamic_cast<const JointObject*>(&instance->Definition()))
        t.joint = JointOf(*joint);
  }
  if (options.text)
    if (const auto* text = dynamic_cast<const TextInstance*>(instance)) t.text = TextOf(*text);
}

void CaptureNodes(const SceneNode& node, const TraceOptions& options, FrameTrace& out) {
  NodeTrace t;
  t.id = node.id();
  if (!node.name().bytes().empty()) t.name = ToUtf8(node.name());
  t.inactive = node.inactive;
  t.hidden = node.hidden;
  t.frozen = node.frozen;
  t.suspended = node.suspended;
  const DisplayNode& display = node.display();
  t.visibility = display.visibility;
  t.depth = display.depth;
  t.colour = display.colour;
  t.world = Affine::Of(RecordedMatrix(display.world()));
  if (std::optional<Outline> outline = NodeOutline(node)) t.outline = *outline;
  t.hit_state = node.hit_state;
  if (const Instance* instance = node.instance()) t.object = instance->Definition().id();
  CaptureDetails(node, options, t);
  out.nodes.push_back(std::move(t));
  if (NodeController* controller = node.controller())
    AddVariables(controller->variables(), VariableTrace::Scope::kController, node.id(),
                 out.variables);
  for (const auto& child : node.children()) CaptureNodes(*child, options, out);
}

}  // namespace

void TraceSession::JumpLog::LabelEntered(int32_t label, const EncodedText* name) {
  jumps.push_back({label, Utf8Of(name)});
}

TraceSession::TraceSession(TraceOptions options)
    : options_(std::move(options)), player_(ComposeProvider(), provider_, clear_target_) {
  player_.set_label_listener(&jump_log_);
  const bool fixed = options_.clock == TraceOptions::Clock::kFixed;
  player_.clock().SetFixedStep(fixed ? static_cast<int32_t>(options_.step_ms) : 0);
}

TraceSession::~TraceSession() = default;

std::unique_ptr<ResourceProvider> TraceSession::ComposeProvider() {
  auto provider = std::make_unique<ComposedProvider>(provider_, sound_);
  provider->set_debug_output(false);  // printed texts go into the frames only
  composed_ = provider.get();
  return provider;
}

bool TraceSession::Load() {
  const std::filesystem::path path(options_.document);
  const std::string directory = path.parent_path().string();
  if (!directory.empty() && !SystemServices().SetCurrentDirectory(directory)) {
    error_ = "cannot make '" + directory + "' the current directory";
    return false;
  }
  const std::string file = path.filename().string();
  if (file.empty()) {
    error_ = "no document file name in '" + options_.document + "'";
    return false;
  }
  if (options_.clock == TraceOptions::Clock::kFixed)
    for (const session::InputEvent& event : options_.input)
      if (event.kind == session::InputEvent::Kind::kStep && event.step_ms == 0) {
        error_ = "frame " + std::to_string(event.frame) +
                 ": a fixed step takes at least 1 ms (steps of 0 need --dt)";
        return false;
      }
  // Input and a step meant for frame 0 are in place before the frame that makes the document
  // current.
  ApplyFrameEvents(0);
  if (!session::LoadUntilCurrent(player_, file, options_.label, [this] { RunFrame(); })) {
    std::vector<std::string> parts;
    for (const MessageTrace& m : services_.TakeMessages()) parts.push_back(m.Describe());
    if (std::string failure = session::LoadFailure(host()); !failure.empty())
      parts.push_back(failure);
    if (parts.empty()) parts.push_back("the document did not finish loading");
    for (const std::string& part : parts) error_ += (error_.empty() ? "" : "\n") + part;
    return false;
  }
  TakeImageSizes();
  first_ = Capture(0);
  if (options_.require_start_label &&
      host().document()->label_names().Find(session::SettingsText(options_.label)) == -1) {
    for (const MessageTrace& m : first_->messages) error_ += m.Describe() + "\n";
    error_ += "start label '" + options_.label + "' not found";
    return false;
  }
  next_frame_ = 1;
  return true;
}

FrameTrace TraceSession::Step() {
  if (first_) {
    FrameTrace first = std::move(*first_);
    first_.reset();
    return first;
  }
  const int32_t frame = next_frame_++;
  ApplyFrameEvents(frame);
  RunFrame();
  return Capture(frame);
}

bool TraceSession::Run(const std::function<void(const FrameTrace&)>& sink) {
  if (!Load()) return false;
  for (int32_t i = 0; i < options_.frames; ++i) sink(Step());
  return true;
}

void TraceSession::ApplyFrameEvents(int32_t frame) {
  session::ApplyInputEvents(options_.input, frame, player_.input());
  const std::optional<uint32_t> step = session::StepAt(options_.input, frame);
  if (!step) return;
  // The tick count of this frame already moved by the old step; it moves by the new one.
  now_ += *step - options_.step_ms;
  options_.step_ms = *step;
  if (options_.clock == TraceOptions::Clock::kFixed)
    player_.clock().SetFixedStep(static_cast<int32_t>(*step));
}

void TraceSession::RunFrame() {
  provider_.Clear();
  sound_.ClearSoundCalls();
  jump_log_.jumps.clear();
  player_.RunFrame(now_);
  now_ += options_.step_ms;  // the simulated tick count of the next frame
}

void TraceSession::TakeImageSizes() {
  for (const auto& [id, resource] : host().document()->resources()) {
    if (resource->Kind() != ResourceKind::kImage) continue;
    std::vector<uint8_t> bytes;
    if (!SystemServices().ReadFile(resource->name(), bytes)) continue;
    if (std::optional<ImageSize> size = PngSize(bytes))
      provider_.SetImageSize(ToNarrow(resource->name()), *size);
  }
}

FrameTrace TraceSession::Capture(int32_t trace_frame) {
  FrameTrace t;
  t.frame = trace_frame;
  t.step = player_.last_step();
  const PointerState& pointer = player_.pointer();
  t.pointer = pointer.position;
  t.buttons = pointer.buttons;
  t.pressed = pointer.pressed;
  t.moved = pointer.moved != 0;
  t.jumps = std::move(jump_log_.jumps);
  jump_log_.jumps.clear();
  if (Scene* scene = host().scene()) {
    Document& document = scene->document();
    t.time = scene->time();
    t.scene_frame = scene->frame();
    t.label = scene->current_label();
    if (t.label >= INT16_MIN && t.label <= INT16_MAX)
      t.label_name = Utf8Of(document.label_names().NameOf(static_cast<int16_t>(t.label)));
    AddVariables(document.variables(), VariableTrace::Scope::kDocument, -1, t.variables);
    if (const SceneNode* root = scene->root()) CaptureNodes(*root, options_, t);
    for (const SceneNode* node : scene->DrawOrder()) t.draw_list.push_back(node->id());
  }
  AddVariables(ProcessVariables(), VariableTrace::Scope::kProcess, -1, t.variables);
  t.draws = provider_.records();
  t.sounds = sound_.sound_calls();
  const std::vector<std::string>& debug = composed_->debug_texts();
  for (size_t i = debug_seen_; i < debug.size(); ++i) t.debug.push_back(debug[i]);
  debug_seen_ = debug.size();
  t.messages = services_.TakeMessages();
  return t;
}

}  // namespace cva::trace
