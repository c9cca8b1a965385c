// The JSON form of documents: odd stored bytes survive a round trip, values take their
// readable forms, and bad JSON is refused with the path of the value at fault.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <functional>
#include <string>

#include "document/document_file.h"
#include "document_json.h"
#include "fixture_files.h"
#include "json_values.h"
#include "stream/byte_writer.h"
#include "stream/write_visitor.h"

namespace cva {
namespace {

using json::Json;

std::vector<uint8_t> Store(DocumentFile& file) {
  ByteWriter out;
  WriteVisitor write(out);
  file.Visit(write);
  EXPECT_TRUE(write.ok()) << write.error();
  return out.Take();
}

// Dumps `bytes`, checks that the JSON compiles back to them and returns the JSON.
Json RoundTrip(const std::vector<uint8_t>& bytes) {
  const json::DumpResult dump = json::DumpDocument(bytes);
  EXPECT_TRUE(dump.ok) << dump.error;
  const json::CompileResult compiled = json::CompileDocument(dump.json);
  EXPECT_TRUE(compiled.ok) << compiled.error;
  EXPECT_EQ(compiled.bytes, bytes);
  return Json::parse(dump.json);
}

StoredText Raw(uint8_t encoding, std::vector<uint8_t> bytes) {
  StoredText t;
  t.encoding = encoding;
  t.length = static_cast<int16_t>(bytes.size());
  t.bytes = std::move(bytes);
  return t;
}

TEST(JsonFormTest, OddStoredBytesSurviveARoundTripInReadableForms) {
  DocumentFile file;
  file.header.flag_2.raw = 2;  // reads as false, kept as 2
  file.header.node_names = true;
  file.header.property_list = true;
  file.variables.stored_count = -7;  // an unusual empty count
  file.properties.items.push_back({Raw(1, {'k', 0}), Raw(0, {'h', 0, 'i', 0, 0, 0})});
  file.properties.items.push_back({Raw(9, {1, 2}), Raw(0, {'x'})});  // odd-length UTF-16
  StoredText negative;
  negative.length = -5;
  file.properties.items.push_back({negative, Raw(1, {0x82, 0xa0})});  // Shift-JIS "あ"
  file.root.name = Raw(0, {0x3D, 0xD8, 0x00, 0xDE});                  // a surrogate pair
  file.root.children.stored_count = -1;
  file.trailing = {0xde, 0xad};
  file.properties.stored_count = 3;

  const Json j = RoundTrip(Store(file));
  EXPECT_EQ(j["header"]["flag_2"], 2);
  EXPECT_EQ(j["header"]["flag_1"], true);
  EXPECT_EQ(j["variables_stored_count"], -7);
  EXPECT_EQ(j["properties"][0]["key"], Json::parse(R"({"sjis": "k", "terminated": true})"));
  EXPECT_EQ(j["properties"][0]["value"], Json::parse(R"({"utf16": "hi", "terminated": true})"));
  EXPECT_EQ(j["properties"][1]["key"], Json::parse(R"({"encoding": 9, "hex": "0102"})"));
  EXPECT_EQ(j["properties"][1]["value"], Json::parse(R"({"encoding": 0, "hex": "78"})"));
  EXPECT_EQ(j["properties"][2]["key"], Json::parse(R"({"length": -5})"));
  EXPECT_EQ(j["properties"][2]["value"], "あ");
  EXPECT_EQ(j["root"]["name"], Json::parse(R"({"utf16": "😀"})"));
  EXPECT_EQ(j["root"]["children_stored_count"], -1);
  EXPECT_FALSE(j["root"].contains("labels_stored_count"));
  EXPECT_EQ(j["trailing"], "dead");
}

TEST(JsonFormTest, TextsThatDoNotConvertBackStayHex) {
  DocumentFile file;
  file.label_names.items.push_back({1, Raw(1, {0x81})});                // a cut double-byte char
  file.label_names.items.push_back({2, Raw(1, {'a', 0, 'b'})});         // a zero inside
  file.label_names.items.push_back({3, Raw(0, {0x00, 0xD8})});          // a lone surrogate
  file.label_names.items.push_back({4, Raw(0, {'a', 0, 0, 0, 0, 0})});  // two terminators
  const Json j = RoundTrip(Store(file));
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(j["label_names"][i]["name"].contains("hex")) << j["label_names"][i].dump();
}

TEST(JsonFormTest, ForeignMagicOrVersionKeepsTheRestAsTrailingBytes) {
  for (const std::vector<uint8_t>& bytes :
       {std::vector<uint8_t>{'x', 'y', 'z', 0, 1, 2, 3},
        std::vector<uint8_t>{'c', 'v', 'a', 0, 0x11, 0x8D, 0x32, 0x01, 9, 9},
        std::vector<uint8_t>{'c', 'v'}}) {
    const json::DumpResult dump = json::DumpDocument(bytes);
    if (bytes.size() < 4) {  // not even a magic number
      EXPECT_FALSE(dump.ok);
      continue;
    }
    EXPECT_FALSE(dump.recognised);
    const Json j = RoundTrip(bytes);
    EXPECT_TRUE(j.contains("trailing"));
    EXPECT_FALSE(j.contains("header"));
  }
}

TEST(JsonFormTest, FloatsAreShortestNumbersOrTheirBits) {
  EXPECT_EQ(json::FloatToJson(0.1f).dump(), "0.1");
  EXPECT_EQ(json::FloatToJson(-0.0f).dump(), "-0.0");
  EXPECT_EQ(json::FloatToJson(200.0f).dump(), "200.0");
  EXPECT_EQ(json::FloatToJson(std::bit_cast<float>(0x7fc00001u)), "0x7fc00001");
  EXPECT_EQ(json::FloatToJson(-INFINITY), "0xff800000");
  for (uint32_t bits : {0x00000001u, 0x3f800001u, 0x7f7fffffu, 0x80000000u, 0x7fc00001u,
                        0xffffffffu, 0x33d6bf95u}) {
    float back = 0;
    std::string why;
    const Json j = Json::parse(json::FloatToJson(std::bit_cast<float>(bits)).dump());
    ASSERT_TRUE(json::FloatFromJson(j, back, why)) << why;
    EXPECT_EQ(std::bit_cast<uint32_t>(back), bits);
  }
  float f = 0;
  std::string why;
  EXPECT_TRUE(json::FloatFromJson(Json(3), f, why));
  EXPECT_EQ(f, 3.0f);
  EXPECT_FALSE(json::FloatFromJson(Json(1e39), f, why));  // beyond a float
  EXPECT_FALSE(json::FloatFromJson(Json("0x123"), f, why));
  EXPECT_FALSE(json::FloatFromJson(Json("nan"), f, why));
}

// The minimal fixture with one change made by `edit`, compiled.
json::CompileResult CompileEdited(const std::function<void(Json&)>& edit) {
  Json j = Json::parse(testing::FixtureSource("minimal"));
  edit(j);
  return json::CompileDocument(j.dump());
}

void ExpectError(const std::function<void(Json&)>& edit, const std::string& message) {
  const json::CompileResult result = CompileEdited(edit);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, message);
}

TEST(JsonFormTest, BadValuesAreReportedWithTheirPath) {
  ExpectError([](Json& j) { j["header"].erase("stage_width"); }, "header.stage_width: missing");
  ExpectError([](Json& j) { j["objects"][0]["record"]["id"] = "one"; },
              "objects[0].record.id: expected an integer from -32768 to 32767");
  ExpectError([](Json& j) { j["header"]["mode"] = 256; },
              "header.mode: expected an integer from 0 to 255");
  ExpectError([](Json& j) { j["header"]["value_a"] = 2147483648u; },
              "header.value_a: expected an integer from -2147483648 to 2147483647");
  ExpectError([](Json& j) { j["header"]["flag_1"] = "yes"; },
              "header.flag_1: expected true, false or a byte value from 0 to 255");
  ExpectError([](Json& j) { j["header"]["stage_widht"] = 1; },
              "header.stage_widht: unexpected key (this record does not have it here)");
  ExpectError([](Json& j) { j["objects"][0]["type"] = 99; },
              "objects[0]: unknown object type code 99");
  ExpectError([](Json& j) { j["label_names"][0]["name"] = "😀"; },
              "label_names[0].name: expected text that Shift-JIS can represent (use "
              "{\"utf16\": ...} for other characters)");
  ExpectError([](Json& j) { j["root"]["name"] = "root"; },
              "root.name: unexpected key (this record does not have it here)");
  ExpectError(
      [](Json& j) {
        j["label_names"][0]["name"] = {{"utf16", "a"}, {"hex", "00"}};
      },
      "label_names[0].name: expected a string, or an object with \"sjis\", \"utf16\", "
      "\"encoding\" and \"hex\", or \"length\"");
  ExpectError([](Json& j) { j["trailing"] = "abc"; }, "trailing: expected hex digits in pairs");
  ExpectError(
      [](Json& j) {
        j["objects"].push_back(j["objects"][0]);
        j["objects_stored_count"] = -1;
      },
      "objects_stored_count: only an empty list keeps a stored count, from -32768 to 0");
  ExpectError(
      [](Json& j) {
        j["root"]["labels"] = {{"label", 1}};
      },
      "root.labels: expected an array of at most 32767 records");
  ExpectError([](Json& j) { j = Json::array(); }, "expected a JSON object");
}

TEST(JsonFormTest, CommentsAndLeftOutListsAreAcceptedAndRepeatedKeysMustMatchTheirCount) {
  // A grid of two cells given as an array; one cell too many or too few is an error.
  auto mesh = [](Json cells) {
    return [cells](Json& j) {
      j["objects"][0] = Json::parse(R"({"type": 8, "_note": "a mesh", "record": {
        "id": 1, "texture": -1, "colour": {"red": 0, "green": 0, "blue": 0, "alpha": 0},
        "joints": {"object": 0}, "rows": 1, "columns": 2, "vertex_count": 0,
        "index_count": 0}})");
      j["objects"][0]["record"]["cells"] = cells;
    };
  };
  const json::CompileResult ok = CompileEdited(mesh(Json::array({7, 8})));
  ASSERT_TRUE(ok.ok) << ok.error;
  const Json back = Json::parse(json::DumpDocument(ok.bytes).json);
  EXPECT_EQ(back["objects"][0]["record"]["cells"], Json::array({7, 8}));
  EXPECT_EQ(back["objects"][0]["record"]["joints"]["children"], Json::array());
  ExpectError(mesh(Json::array({7, 8, 9})),
              "objects[0].record.cells: has 3 values but only 2 are used");
  ExpectError(mesh(Json::array({7})), "objects[0].record.cells: has 1 values; more are needed");
  ExpectError(mesh(Json(7)),
              "objects[0].record.cells: has one value; more are needed (write an array)");
}

TEST(JsonFormTest, NestingBeyondTheLimitsAndTextThatIsNotJsonAreRefused) {
  const std::string deep_json(100000, '[');
  json::CompileResult result = json::CompileDocument(deep_json);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, "JSON nested deeper than 1024 levels");

  // Else branches nested 300 deep: within the JSON limit but past the record limit.
  Json node = Json::parse(R"({"else_marker": 1})");
  for (int i = 0; i < 300; ++i) node = Json{{"else_marker", 0}, {"else", node}};
  result = CompileEdited([&](Json& j) {
    j["root"]["has_controller"] = true;
    j["root"]["controller"] = {{"root", node}};
  });
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("records nested deeper than 256 levels"), std::string::npos)
      << result.error;

  // Cut text, and a number no double holds (the parser reports it as out of range).
  for (const char* text : {"{\"magic\": ", "{\"magic\": 1e999}"}) {
    result = json::CompileDocument(text);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error.rfind("not valid JSON: ", 0), 0u) << result.error;
  }
}

TEST(JsonFormTest, TheDeepestDocumentTheReaderTakesSurvivesTheJsonForm) {
  // Scene trees nested up to the reader's limit: every one the reader takes must come back.
  int deepest = 0;
  for (int depth : {200, 250, 254, 255, 256, 257}) {
    DocumentFile file;
    NodeRecord* node = &file.root;
    for (int i = 1; i < depth; ++i) {
      node->children.items.emplace_back();
      node = &node->children.items.back();
      node->id = static_cast<int16_t>(i);
    }
    const std::vector<uint8_t> bytes = Store(file);
    if (!json::DumpDocument(bytes).ok) continue;
    deepest = depth;
    RoundTrip(bytes);
  }
  EXPECT_GE(deepest, 250);
}

TEST(JsonFormTest, TheExampleOfTheFormatDescriptionCompilesAndRoundTrips) {
  const std::string doc =
      testing::ReadText(std::string(CVA_FIXTURE_SOURCE_DIR) + "/../../docs/document-json.md");
  const size_t start = doc.find("```json\n");
  ASSERT_NE(start, std::string::npos);
  const size_t end = doc.find("```", start + 8);
  ASSERT_NE(end, std::string::npos);
  const json::CompileResult compiled =
      json::CompileDocument(doc.substr(start + 8, end - start - 8));
  ASSERT_TRUE(compiled.ok) << compiled.error;
  RoundTrip(compiled.bytes);
}

}  // namespace
}  // namespace cva
