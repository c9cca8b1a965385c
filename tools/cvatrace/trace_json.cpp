#include "trace_json.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "json_write_visitor.h"
#include "stream/text_conversion.h"

namespace cva::trace {
namespace {

using Json = nlohmann::ordered_json;

// A float as the shortest decimal that reads back as the same float (0.1f prints as 0.1, not
// as its double expansion); null when it is not finite, which JSON cannot hold.
Json Number(float value) {
  if (!std::isfinite(value)) return nullptr;
  // Both conversions are the C++ library's own, the same code in every build; the C runtimes'
  // strtod need not round alike.
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, value);
  double shortest = 0.0;
  std::from_chars(text, written.ptr, shortest);
  if (shortest == std::trunc(shortest) && std::fabs(shortest) < 1e15)
    return static_cast<int64_t>(shortest);
  return shortest;
}

Json PointJson(Vec2 p) {
  return Json::array({Number(p.x), Number(p.y)});
}

Json ColourJson(const Colour& c) {
  return Json::array({c.red, c.green, c.blue, c.alpha});
}

Json AffineJson(const Affine& m) {
  return Json::array(
      {Number(m.a), Number(m.b), Number(m.c), Number(m.d), Number(m.e), Number(m.f)});
}

const char* KindName(DrawRecord::Kind kind) {
  switch (kind) {
    case DrawRecord::Kind::kSolidQuad:
      return "quad";
    case DrawRecord::Kind::kSprite:
      return "sprite";
    case DrawRecord::Kind::kSpritePlain:
      return "sprite_plain";
    case DrawRecord::Kind::kMesh:
      return "mesh";
    case DrawRecord::Kind::kGlyph:
      return "glyph";
    case DrawRecord::Kind::kApplyState:
      return "apply";
    case DrawRecord::Kind::kBeginMask:
      return "begin_mask";
    case DrawRecord::Kind::kEndMask:
      return "end_mask";
  }
  return "unknown";
}

const char* StateName(RenderState state) {
  switch (state) {
    case RenderState::kAlphaTestEnable:
      return "alpha_test_enable";
    case RenderState::kAlphaFunc:
      return "alpha_func";
    case RenderState::kAlphaRef:
      return "alpha_ref";
    case RenderState::kAlphaBlendEnable:
      return "alpha_blend_enable";
    case RenderState::kBlendOp:
      return "blend_op";
    case RenderState::kSrcBlend:
      return "src_blend";
    case RenderState::kDestBlend:
      return "dest_blend";
    case RenderState::kZEnable:
      return "z_enable";
    case RenderState::kZWriteEnable:
      return "z_write_enable";
    case RenderState::kZFunc:
      return "z_func";
  }
  return "unknown";
}

Json DrawJson(const DrawRecord& record) {
  Json j;
  j["kind"] = KindName(record.kind);
  switch (record.kind) {
    case DrawRecord::Kind::kApplyState: {
      Json states = Json::array();
      for (const auto& [state, value] : record.states) states.push_back({StateName(state), value});
      j["states"] = std::move(states);
      break;
    }
    case DrawRecord::Kind::kBeginMask:
      j["world"] = AffineJson(Affine::Of(record.world));
      j["extent"] = PointJson(record.extent);
      break;
    case DrawRecord::Kind::kEndMask:
      break;
    default:
      j["primitive"] = record.primitive;
      j["world"] = AffineJson(Affine::Of(record.world));
      j["colour"] = ColourJson(record.colour);
      if (record.kind == DrawRecord::Kind::kSprite || record.kind == DrawRecord::Kind::kMesh)
        j["texture"] = AffineJson(Affine::OfTexture(record.texture));
      break;
  }
  return j;
}

// Writes the floats of `j` the way the rest of the trace writes numbers.
void TraceNumbers(Json& j) {
  if (j.is_number_float()) {
    j = Number(static_cast<float>(j.get<double>()));
    return;
  }
  if (j.is_structured())
    for (Json& item : j) TraceNumbers(item);
}

// A property value with the keys and value forms of the document's JSON form, its numbers
// written as elsewhere in the trace.
Json PropertyJson(const PropertyValueRecord& record) {
  Json j = std::visit(
      [](const auto& fields) {
        auto copy = fields;  // visiting takes the fields by reference
        json::JsonWriteVisitor visitor;
        copy.Visit(visitor);
        return visitor.result();
      },
      record);
  TraceNumbers(j);
  return j;
}

Json JointJson(const JointTrace& joint) {
  return {{"owner", joint.owner}, {"parent", joint.parent}, {"children", joint.children}};
}

// The character a glyph was asked for, as UTF-8.
std::string CharacterOf(const GlyphPlacement& glyph) {
  std::vector<uint8_t> bytes{static_cast<uint8_t>(glyph.code & 0xFF)};
  if (glyph.encoding == EncodedText::kUtf16 || glyph.code > 0xFF)
    bytes.push_back(static_cast<uint8_t>(glyph.code >> 8));
  return ToUtf8(EncodedText(glyph.encoding, bytes));
}

Json CommandsJson(const std::vector<TextCommand>& commands) {
  Json out = Json::array();
  for (const TextCommand& command : commands) {
    switch (command.kind) {
      case TextCommand::Kind::kGlyphInterval:
        out.push_back({{"kind", "glyph_interval"}, {"value", Number(command.value)}});
        break;
      case TextCommand::Kind::kPause:
        out.push_back({{"kind", "pause"}, {"value", Number(command.value)}});
        break;
      case TextCommand::Kind::kJump:
        out.push_back({{"kind", "jump"}, {"label", ToUtf8(command.name)}});
        break;
    }
  }
  return out;
}

Json TextJson(const TextTrace& text) {
  Json fonts = Json::array();
  for (const RegisteredFont& font : text.fonts)
    fonts.push_back({{"index", font.index},
                     {"face", ToUtf8(font.face)},
                     {"encoding", font.face.encoding()},
                     {"point_size", font.point_size},
                     {"bold", font.bold}});
  Json paragraphs = Json::array();
  for (const TextParagraph& paragraph : text.paragraphs) {
    Json lines = Json::array();
    for (const TextLine& line : paragraph.lines) {
      std::string characters;
      Json glyphs = Json::array();
      for (const GlyphPlacement& glyph : line.placements) {
        characters += CharacterOf(glyph);
        Json g = {{"code", glyph.code},
                  {"encoding", glyph.encoding},
                  {"font", glyph.font},
                  {"colour", ColourJson(glyph.colour)}};
        if (!glyph.commands.empty()) g["commands"] = CommandsJson(glyph.commands);
        glyphs.push_back(std::move(g));
      }
      lines.push_back({{"width", Number(line.width)},
                       {"height", Number(line.height)},
                       {"text", std::move(characters)},
                       {"glyphs", std::move(glyphs)}});
    }
    paragraphs.push_back({{"width", Number(paragraph.width)},
                          {"height", Number(paragraph.height)},
                          {"lines", std::move(lines)}});
  }
  Json j = {{"paragraph", text.paragraph},
            {"revealed", text.revealed},
            {"fonts", std::move(fonts)},
            {"paragraphs", std::move(paragraphs)}};
  if (!text.pending.empty()) j["pending_commands"] = CommandsJson(text.pending);
  return j;
}

Json NodeJson(const NodeTrace& node) {
  Json j;
  j["id"] = node.id;
  if (node.name) j["name"] = *node.name;
  j["object"] = node.object;
  j["inactive"] = node.inactive;
  j["hidden"] = node.hidden;
  j["frozen"] = node.frozen;
  j["suspended"] = node.suspended;
  j["visibility"] = node.visibility;
  j["depth"] = node.depth;
  j["colour"] = ColourJson(node.colour);
  j["world"] = AffineJson(node.world);
  if (node.outline) {
    Json outline = Json::array();
    for (Vec2 corner : *node.outline) outline.push_back(PointJson(corner));
    j["outline"] = std::move(outline);
  }
  j["hit"] = node.hit_state;
  if (!node.properties.empty()) {
    Json properties = Json::object();
    for (const PropertyValueRecord& record : node.properties)
      properties[std::to_string(record.index())] = PropertyJson(record);
    j["properties"] = std::move(properties);
  }
  if (node.shown_object) j["shown_object"] = *node.shown_object;
  if (node.joint) j["joint"] = JointJson(*node.joint);
  if (node.text) j["text"] = TextJson(*node.text);
  return j;
}

Json VariablesJson(const std::vector<VariableTrace>& variables) {
  Json document = Json::object(), controllers = Json::object(), process = Json::object();
  for (const VariableTrace& v : variables) {
    const std::string id = std::to_string(v.id);
    switch (v.scope) {
      case VariableTrace::Scope::kDocument:
        document[id] = v.value;
        break;
      case VariableTrace::Scope::kController:
        controllers[std::to_string(v.node)][id] = v.value;
        break;
      case VariableTrace::Scope::kProcess:
        process[id] = v.value;
        break;
    }
  }
  Json j;
  j["document"] = std::move(document);
  j["controllers"] = std::move(controllers);
  j["process"] = std::move(process);
  return j;
}

}  // namespace

Json FrameToJson(const FrameTrace& frame) {
  Json j;
  j["frame"] = frame.frame;
  j["step"] = Number(frame.step);
  j["time"] = Number(frame.time);
  j["scene_frame"] = frame.scene_frame;
  j["label"] = frame.label;
  j["label_name"] = frame.label_name ? Json(*frame.label_name) : Json(nullptr);
  Json jumps = Json::array();
  for (const JumpTrace& jump : frame.jumps) {
    Json entry;
    entry["label"] = jump.label;
    entry["name"] = jump.name ? Json(*jump.name) : Json(nullptr);
    jumps.push_back(std::move(entry));
  }
  j["jumps"] = std::move(jumps);
  j["pointer"] = {{"x", Number(frame.pointer.x)},
                  {"y", Number(frame.pointer.y)},
                  {"buttons", frame.buttons},
                  {"pressed", frame.pressed},
                  {"moved", frame.moved}};
  Json nodes = Json::array();
  for (const NodeTrace& node : frame.nodes) nodes.push_back(NodeJson(node));
  j["nodes"] = std::move(nodes);
  j["variables"] = VariablesJson(frame.variables);
  j["draw_list"] = frame.draw_list;
  Json draws = Json::array();
  for (const DrawRecord& record : frame.draws) draws.push_back(DrawJson(record));
  j["draws"] = std::move(draws);
  if (!frame.sounds.empty()) {
    static const char* const kCallNames[] = {"play", "play_range", "stop", "volume", "pan"};
    Json sounds = Json::array();
    for (const SoundCall& call : frame.sounds) {
      Json entry = {{"call", kCallNames[static_cast<int>(call.kind)]},
                    {"stream", call.stream},
                    {"sound", call.sound}};
      switch (call.kind) {
        case SoundCall::Kind::kPlayRange:
          entry["length"] = Number(call.length);
          [[fallthrough]];
        case SoundCall::Kind::kPlay:
          entry["start"] = Number(call.start);
          entry["loop"] = call.loop;
          break;
        case SoundCall::Kind::kSetVolume:
        case SoundCall::Kind::kSetPan:
          entry["value"] = call.value;
          break;
        case SoundCall::Kind::kStop:
          break;
      }
      sounds.push_back(std::move(entry));
    }
    j["sounds"] = std::move(sounds);
  }
  if (!frame.debug.empty()) j["debug"] = frame.debug;
  if (!frame.messages.empty()) {
    Json messages = Json::array();
    for (const MessageTrace& m : frame.messages)
      messages.push_back({{"caption", m.caption}, {"text", m.text}});
    j["messages"] = std::move(messages);
  }
  return j;
}

}  // namespace cva::trace
