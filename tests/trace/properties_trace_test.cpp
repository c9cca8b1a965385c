// What --properties and --text add to a trace: property values as held, the image an image
// instance shows, joint links, laid-out text; and step events of the input script.
#include "trace_json.h"
#include "trace_rig.h"

namespace cva::testing {
namespace {

using Json = nlohmann::json;

class PropertiesTraceTest : public TraceTest {
 protected:
  std::vector<trace::FrameTrace> Detailed(int32_t frames) {
    trace::TraceOptions options = Options("trace_properties.cva", frames);
    options.properties = true;
    options.text = true;
    return Trace(options);
  }
};

std::vector<int> IndicesOf(const trace::NodeTrace& node) {
  std::vector<int> indices;
  for (const PropertyValueRecord& record : node.properties)
    indices.push_back(static_cast<int>(record.index()));
  return indices;
}

TEST_F(PropertiesTraceTest, NodesShowTheirPropertiesTheShownImageAndJointLinks) {
  const auto frames = Detailed(2);
  // Frame 0 is before the jump: the image shows its own object and repeats once.
  const trace::NodeTrace* image = frames[0].Node(1);
  EXPECT_EQ(image->shown_object, 1);
  EXPECT_EQ(IndicesOf(*image), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12}));
  EXPECT_EQ(std::get<kTexRepeatProperty>(image->properties[11]).count_x, 1);

  // Frame 1 reached the keyframes: swapped to object 2, 3 mirrored repeats across, 2 down.
  image = frames[1].Node(1);
  EXPECT_EQ(image->shown_object, 2);
  EXPECT_EQ(std::get<kImageSwapProperty>(image->properties[8]).value, 2);
  const TexRepeatValue repeat = std::get<kTexRepeatProperty>(image->properties[11]);
  EXPECT_EQ(repeat.count_x, 3);
  EXPECT_TRUE(repeat.mirror_x.on());
  EXPECT_EQ(repeat.count_y, 2);
  EXPECT_FALSE(repeat.mirror_y.on());
  // Property 1 as held by a display node (1, 1, 3), not the effective visibility.
  EXPECT_EQ(std::get<kDrawCodesProperty>(image->properties[1]), (DrawCodesValue{1, 1, 3}));

  // The root holds the on-load jump; the text its paragraph; the joint none of its own.
  EXPECT_EQ(IndicesOf(*frames[1].Node(0)).back(), kOnLoadJumpProperty);
  EXPECT_EQ(IndicesOf(*frames[1].Node(2)).back(), kParagraphProperty);
  const trace::NodeTrace* joint = frames[1].Node(4);
  ASSERT_TRUE(joint->joint);
  EXPECT_EQ(joint->joint->owner, 4);
  EXPECT_EQ(joint->joint->parent, -1);
  EXPECT_EQ(joint->joint->children, (std::vector<int32_t>{6}));
  EXPECT_FALSE(joint->shown_object);

  // Off by default: nothing of it is captured.
  const auto plain = Trace(Options("trace_properties.cva", 2));
  EXPECT_TRUE(plain[1].Node(1)->properties.empty());
  EXPECT_FALSE(plain[1].Node(1)->shown_object);
  EXPECT_FALSE(plain[1].Node(4)->joint);
  EXPECT_FALSE(plain[1].Node(2)->text);
}

TEST_F(PropertiesTraceTest, TextShowsParagraphsLinesGlyphsFontsAndCommands) {
  const auto frames = Detailed(3);
  const trace::NodeTrace* node = frames[2].Node(2);
  ASSERT_TRUE(node->text);
  const trace::TextTrace& text = *node->text;
  EXPECT_EQ(text.paragraph, 0);
  EXPECT_GE(text.revealed, 1);
  ASSERT_EQ(text.fonts.size(), 2u);
  EXPECT_EQ(text.fonts[1].index, 1);
  EXPECT_EQ(text.fonts[1].face, EncodedText::FromNarrow("Arial"));
  EXPECT_EQ(text.fonts[0].point_size, 12);
  EXPECT_TRUE(text.fonts[0].bold);

  // "Hi", a line break, then "A" carrying the pause that came before it.
  ASSERT_EQ(text.paragraphs.size(), 2u);
  const std::vector<TextLine>& lines = text.paragraphs[0].lines;
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(lines[0].placements.size(), 2u);
  const GlyphPlacement& h = lines[0].placements[0];
  EXPECT_EQ(h.code, 'H');
  EXPECT_EQ(h.encoding, EncodedText::kShiftJis);
  EXPECT_EQ(h.font, 0);
  EXPECT_EQ(h.colour, (Colour{255, 0, 0, 255}));
  EXPECT_TRUE(h.commands.empty());
  ASSERT_EQ(lines[1].placements.size(), 1u);
  ASSERT_EQ(lines[1].placements[0].commands.size(), 1u);
  EXPECT_EQ(lines[1].placements[0].commands[0].kind, TextCommand::Kind::kPause);
  EXPECT_EQ(lines[1].height, 12.0f);
  // The second paragraph: a UTF-16 "Z" in the second font, and a jump no glyph followed.
  const GlyphPlacement& z = text.paragraphs[1].lines[0].placements[0];
  EXPECT_EQ(z.code, 'Z');
  EXPECT_EQ(z.encoding, EncodedText::kUtf16);
  EXPECT_EQ(z.font, 1);
  ASSERT_EQ(text.pending.size(), 1u);
  EXPECT_EQ(text.pending[0].name, EncodedText::FromNarrow("default"));
}

TEST_F(PropertiesTraceTest, FrameJsonNamesPropertiesAndLaysOutText) {
  const Json j = trace::FrameToJson(Detailed(2)[1]);
  const Json& image = j["nodes"][1];
  EXPECT_EQ(image["properties"]["12"],
            Json::parse(R"({"mirror_y": false, "count_y": 2, "mirror_x": true, "count_x": 3})"));
  EXPECT_EQ(image["properties"]["1"], Json::parse(R"({"blend": 1, "mask": 1, "visibility": 3})"));
  EXPECT_EQ(image["properties"]["2"]["x"], 10);
  EXPECT_EQ(image["shown_object"], 2);
  EXPECT_EQ(j["nodes"][4]["joint"], Json::parse(R"({"owner": 4, "parent": -1, "children": [6]})"));
  const Json& text = j["nodes"][2]["text"];
  EXPECT_EQ(text["fonts"][0]["face"], "MS Gothic");
  const Json& line = text["paragraphs"][0]["lines"][1];
  EXPECT_EQ(line["text"], "A");
  EXPECT_EQ(line["glyphs"][0]["commands"], Json::parse(R"([{"kind": "pause", "value": 2}])"));
  EXPECT_EQ(text["paragraphs"][1]["lines"][0]["text"], "Z");
  EXPECT_EQ(text["pending_commands"][0]["label"], "default");
  // Nodes without an image or a joint get neither key.
  EXPECT_FALSE(j["nodes"][2].contains("shown_object"));
  EXPECT_FALSE(j["nodes"][2].contains("joint"));
}

TEST_F(PropertiesTraceTest, StepEventsChangeTheStepFromTheirFrameOn) {
  auto steps = [&](trace::TraceOptions options, const std::string& script) {
    std::vector<float> out;
    for (const trace::FrameTrace& f : Trace(options, script)) out.push_back(f.step);
    return out;
  };
  trace::TraceOptions fixed = Options("trace_timeline.cva", 5);
  EXPECT_EQ(steps(fixed, "2 step 30\n4 step 7\n"), (std::vector<float>{100, 100, 30, 30, 7}));
  // A step at frame 0 already paces the loading frames and frame 0.
  EXPECT_EQ(steps(fixed, "0 step 40\n").front(), 40.0f);

  // Real time: the tick count moves by the step before each frame, 0 included.
  trace::TraceOptions real_time = fixed;
  real_time.clock = trace::TraceOptions::Clock::kRealTime;
  real_time.step_ms = 10;
  const std::vector<float> measured = steps(real_time, "2 step 25\n3 step 0\n4 step 16\n");
  EXPECT_EQ(std::vector<float>(measured.begin() + 1, measured.end()),
            (std::vector<float>{10, 25, 0, 16}));

  // The fixed-step clock has no step of 0.
  std::string why;
  ASSERT_TRUE(session::ParseInputScript("3 step 0\n", fixed.input, why));
  trace::TraceSession session(fixed);
  EXPECT_FALSE(session.Load());
  EXPECT_NE(session.error().find("frame 3: a fixed step takes at least 1 ms"), std::string::npos)
      << session.error();
}

}  // namespace
}  // namespace cva::testing
