// Object entries read from hand-built bytes, written back byte for byte, and refused when
// unknown or truncated.

#include <gtest/gtest.h>

#include <cmath>

#include "object_bytes.h"
#include "record_io.h"
#include "scene/object_record.h"

namespace cva::testing {
namespace {

template <class R>
const R& RecordOf(const ObjectEntry& entry) {
  const R* r = std::get_if<R>(&entry.record);
  EXPECT_NE(r, nullptr) << "entry of type " << int(entry.type) << " holds another record";
  static const R kEmpty{};
  return r ? *r : kEmpty;
}

std::vector<uint8_t> EmbeddedBytes() {
  ByteWriter out;
  out.Byte(3);
  out.Short(12);
  PutColour(out, 50, 60, 70, 80);
  out.Short(-1);
  return out.Take();
}

std::vector<uint8_t> SoundBytes() {
  ByteWriter out;
  out.Byte(4);
  out.Short(13);
  out.Short(6);
  out.Float(250.0f);
  out.Float(-1.0f);
  return out.Take();
}

// A text object whose record exercises every element kind and control form, odd bool-like
// bytes, a stored terminator and an odd-length UTF-16 run.
std::vector<uint8_t> TextBytes() {
  ByteWriter out;
  out.Byte(5);
  out.Short(14);
  PutColour(out, 1, 2, 3, 4);
  PutColour(out, 5, 6, 7, 8);  // the text record's own colour
  PutVec2(out, 100.0f, 20.0f);
  out.Short(7);
  out.Byte(0);  // font run: face with its terminator stored
  PutText(out, 1, {'M', 'S', 0});
  out.Float(12.0f);
  out.Byte(2);
  out.Byte(1);  // colour
  PutColour(out, 255, 0, 0, 128);
  out.Byte(2);  // text, UTF-16 of odd length
  PutText(out, 0, {'a', 0, 'b'});
  out.Byte(3);  // control, value form
  out.Byte(4);
  out.Byte(1);
  out.Float(2.5f);
  out.Byte(3);  // control, name form
  out.Byte(6);
  out.Byte(2);
  PutText(out, 1, {'e', 'n', 'd'});
  out.Byte(3);  // control of another form: nothing follows
  out.Byte(2);
  out.Byte(9);
  out.Byte(2);  // an empty text
  out.Short(0);
  return out.Take();
}

std::vector<uint8_t> NumberBytes() {
  ByteWriter out;
  out.Byte(6);
  out.Short(15);
  PutColour(out, 1, 2, 3, 4);
  out.Float(1.5f);
  for (int16_t i = 0; i < 12; ++i) out.Short(static_cast<int16_t>(100 + i));
  return out.Take();
}

std::vector<uint8_t> PanelBytes() {
  ByteWriter out;
  out.Byte(7);
  out.Short(16);
  for (int i = 0; i < 4; ++i) PutVec2(out, float(i), float(i + 10));
  out.Short(-1);
  PutColour(out, 4, 3, 2, 1);
  return out.Take();
}

std::vector<std::vector<uint8_t>> AllTypes() {
  return {RectBytes(),    ImageBytes(-2, 5),   EmbeddedBytes(),  SoundBytes(),
          TextBytes(),    NumberBytes(),       PanelBytes(),     MeshBytes(),
          JointBytes(20), WarpBytes(21, 4, 2), ParticleBytes(22)};
}

TEST(ObjectRecords, EveryTypeReadsAllItsBytesAndWritesThemBack) {
  for (const auto& bytes : AllTypes()) {
    SCOPED_TRACE("type " + std::to_string(bytes[0]));
    const ObjectEntry entry = ExpectRoundTrip<ObjectEntry>(bytes);
    EXPECT_EQ(entry.record.index(), bytes[0]);
  }
}

TEST(ObjectRecords, EveryTruncationOfEveryTypeFails) {
  for (const auto& bytes : AllTypes()) {
    SCOPED_TRACE("type " + std::to_string(bytes[0]));
    ExpectEveryTruncationFails<ObjectEntry>(bytes);
  }
}

TEST(ObjectRecords, FlatRecordsPutFieldsInPlace) {
  ObjectEntry entry = ExpectRoundTrip<ObjectEntry>(RectBytes());
  const RectRecord& rect = RecordOf<RectRecord>(entry);
  EXPECT_EQ(rect.id, 7);
  EXPECT_EQ(rect.size, (Vec2{3.5f, 4.0f}));
  EXPECT_EQ(rect.colour, (Colour{1, 2, 3, 4}));

  entry = ExpectRoundTrip<ObjectEntry>(ImageBytes(-2, 5));
  const ImageRecord& image = RecordOf<ImageRecord>(entry);
  EXPECT_EQ(image.id, -2);
  EXPECT_EQ(entry.id(), -2);
  EXPECT_EQ(image.size, (Vec2{32.0f, 16.0f}));
  EXPECT_EQ(image.texture_origin, (Vec2{0.25f, 0.5f}));
  EXPECT_EQ(image.image, 5);
  EXPECT_EQ(image.colour, (Colour{9, 8, 7, 6}));

  entry = ExpectRoundTrip<ObjectEntry>(EmbeddedBytes());
  EXPECT_EQ(RecordOf<EmbeddedSceneRecord>(entry).colour, (Colour{50, 60, 70, 80}));
  EXPECT_EQ(RecordOf<EmbeddedSceneRecord>(entry).document, -1);

  entry = ExpectRoundTrip<ObjectEntry>(SoundBytes());
  EXPECT_EQ(RecordOf<SoundRecord>(entry).sound, 6);
  EXPECT_EQ(RecordOf<SoundRecord>(entry).start, 250.0f);
  EXPECT_EQ(RecordOf<SoundRecord>(entry).length, -1.0f);

  entry = ExpectRoundTrip<ObjectEntry>(NumberBytes());
  const NumberRecord& number = RecordOf<NumberRecord>(entry);
  EXPECT_EQ(number.value, 1.5f);
  EXPECT_EQ(number.glyphs[0], 100);
  EXPECT_EQ(number.glyphs[NumberRecord::kSeparatorGlyph], 110);
  EXPECT_EQ(number.glyphs[NumberRecord::kMinusGlyph], 111);

  entry = ExpectRoundTrip<ObjectEntry>(PanelBytes());
  EXPECT_EQ(RecordOf<PanelRecord>(entry).vec_d, (Vec2{3.0f, 13.0f}));
  EXPECT_EQ(RecordOf<PanelRecord>(entry).image, -1);
  EXPECT_EQ(RecordOf<PanelRecord>(entry).colour, (Colour{4, 3, 2, 1}));

  entry = ExpectRoundTrip<ObjectEntry>(JointBytes(20));
  EXPECT_EQ(RecordOf<JointRecord>(entry).value, -77);
  EXPECT_EQ(RecordOf<JointRecord>(entry).size, (Vec2{6.0f, 8.0f}));
  EXPECT_EQ(RecordOf<JointRecord>(entry).vec_b, (Vec2{1.0f, 2.0f}));

  entry = ExpectRoundTrip<ObjectEntry>(WarpBytes(21, 4, 2));
  const WarpImageRecord& warp = RecordOf<WarpImageRecord>(entry);
  EXPECT_EQ(warp.image, 3);
  EXPECT_EQ(warp.columns, 4);
  EXPECT_EQ(warp.rows, 2);
  EXPECT_EQ(warp.colour, (Colour{5, 6, 7, 8}));
  EXPECT_EQ(warp.vec_c, (Vec2{5.0f, 6.0f}));
}

TEST(ObjectRecords, TextElementsKeepTheirKindsForms) {
  const ObjectEntry entry = ExpectRoundTrip<ObjectEntry>(TextBytes());
  const TextObjectRecord& text = RecordOf<TextObjectRecord>(entry);
  EXPECT_EQ(text.colour, (Colour{1, 2, 3, 4}));
  EXPECT_EQ(text.text.colour, (Colour{5, 6, 7, 8}));
  EXPECT_EQ(text.text.size, (Vec2{100.0f, 20.0f}));
  ASSERT_EQ(text.text.elements.size(), 7u);
  const auto& e = text.text.elements;
  EXPECT_EQ(e[0].face.Decoded(), EncodedText::FromNarrow("MS"));  // the terminator not doubled
  EXPECT_EQ(e[0].point_size, 12.0f);
  EXPECT_EQ(e[0].bold, 2);
  EXPECT_EQ(e[1].colour, (Colour{255, 0, 0, 128}));
  EXPECT_EQ(e[2].text.length, 3);
  EXPECT_EQ(e[3].sub_kind, 4);
  EXPECT_EQ(e[3].value, 2.5f);
  EXPECT_EQ(e[4].name.Decoded(), EncodedText::FromNarrow("end"));
  EXPECT_EQ(e[5].form, 9);
  EXPECT_EQ(e[6].text.length, 0);
}

TEST(ObjectRecords, MeshReadsWidthCodedNumbersJointsAndGrid) {
  const ObjectEntry entry = ExpectRoundTrip<ObjectEntry>(MeshBytes(1, {0, -1, 2}));
  const MeshRecord& mesh = RecordOf<MeshRecord>(entry);
  EXPECT_EQ(mesh.texture, 4);
  EXPECT_EQ(mesh.colour, (Colour{10, 20, 30, 40}));
  EXPECT_EQ(mesh.joints.object, 10);
  ASSERT_EQ(mesh.joints.children.size(), 2u);
  EXPECT_EQ(mesh.joints.children[0].object, 11);
  ASSERT_EQ(mesh.joints.children[0].children.size(), 1u);
  EXPECT_EQ(mesh.joints.children[0].children[0].object, 13);
  EXPECT_EQ(mesh.joints.children[1].object, 12);
  EXPECT_EQ(mesh.cells, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(mesh.unused_a, 111);
  EXPECT_EQ(mesh.unused_b, -222);
  ASSERT_EQ(mesh.vertices.size(), 3u);
  EXPECT_EQ(mesh.vertices[1].x, 200);  // a byte is unsigned
  EXPECT_EQ(mesh.vertices[1].y, -3);   // a short is sign-extended
  EXPECT_EQ(mesh.vertices[1].third, 0);
  EXPECT_EQ(mesh.indices, (std::vector<uint16_t>{0, 0xFFFF, 2}));
}

TEST(ObjectRecords, MeshWithoutVerticesIndicesOrGridStopsAfterTheirCounts) {
  ByteWriter out;
  out.Byte(8);
  out.Short(2);
  out.Short(-1);
  PutColour(out, 0, 0, 0, 0);
  PutJointNode(out, 5, -3);  // a negative child count is empty, and kept
  out.Short(-1);             // rows: no columns follow
  out.Short(0);              // vertices: no header follows
  out.Short(2);              // indices
  out.Byte(1);
  out.Byte(1);  // flag set: no index numbers follow
  const ObjectEntry entry = ExpectRoundTrip<ObjectEntry>(out.Take());
  const MeshRecord& mesh = RecordOf<MeshRecord>(entry);
  EXPECT_EQ(mesh.joints.children.stored_count, -3);
  EXPECT_TRUE(mesh.cells.empty());
  EXPECT_TRUE(mesh.vertices.empty());
  EXPECT_EQ(mesh.index_count, 2);
  EXPECT_TRUE(mesh.indices.empty());
}

TEST(ObjectRecords, ParticleConfigurationKeepsItsEaseLists) {
  const ObjectEntry entry = ExpectRoundTrip<ObjectEntry>(ParticleBytes(22));
  const ParticleRecord& particle = RecordOf<ParticleRecord>(entry);
  EXPECT_EQ(particle.size, (Vec2{8.0f, 9.0f}));
  EXPECT_EQ(particle.uv_offset, (Vec2{0.5f, 0.0f}));
  EXPECT_EQ(particle.image, 2);
  EXPECT_EQ(particle.config.colour_b, (Colour{3, 3, 3, 3}));
  EXPECT_EQ(particle.config.float_d, 8.0f);
  EXPECT_EQ(particle.config.int_c, -15);
  ASSERT_EQ(particle.config.ease_a.size(), 2u);
  EXPECT_EQ(particle.config.ease_a[0].curve, 3);
  EXPECT_EQ(particle.config.ease_a[1].amplitude, 0.5f);
  EXPECT_EQ(particle.config.ease_c.stored_count, -5);
  ASSERT_EQ(particle.config.ease_d.size(), 1u);
  EXPECT_EQ(particle.config.ease_d[0].y, 0.25f);
}

TEST(ObjectRecords, UnknownTypeCodesFailAfterTheCode) {
  for (uint8_t code : {0, 12, 255}) {
    ByteWriter out;
    out.Short(0);  // something before the entry, so that the offset is not trivially 0
    out.Byte(code);
    out.Short(1);
    std::vector<uint8_t> bytes = out.Take();
    BufferReader reader(bytes);
    reader.ReadShort();
    ReadVisitor visitor(reader);
    ObjectEntry entry;
    visitor.Record("entry", entry);
    EXPECT_FALSE(visitor.ok());
    EXPECT_NE(visitor.error().find("unknown object type code " + std::to_string(code)),
              std::string::npos)
        << visitor.error();
    EXPECT_EQ(visitor.error_offset(), 3u);
  }
}

TEST(ObjectRecords, UnknownTextElementKindFails) {
  ByteWriter out;
  out.Byte(5);
  out.Short(1);
  PutColour(out, 0, 0, 0, 0);
  PutColour(out, 0, 0, 0, 0);
  PutVec2(out, 0, 0);
  out.Short(2);
  out.Byte(1);
  PutColour(out, 1, 1, 1, 1);
  out.Byte(4);  // no such element kind
  out.Float(0.0f);
  ObjectEntry entry;
  const ReadResult result = ReadRecord(out.Take(), entry);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("unknown text element kind 4"), std::string::npos) << result.error;
  EXPECT_EQ(result.error_offset, 27u);  // just after the kind byte
}

TEST(ObjectRecords, HugeCountsInShortDataFailWithoutGrowingFirst) {
  // A grid of 32767 x 32767 cells, 32-bit ease counts of two billion: each fails at the end
  // of the few bytes present.
  std::vector<uint8_t> grid = MeshBytes();
  grid.resize(1 + 2 + 2 + 4 + 4 * 6 + 6);  // up to the joint tree's end
  ByteWriter tail;
  tail.Short(0x7FFF);
  tail.Short(0x7FFF);
  tail.Byte(1);
  grid.insert(grid.end(), tail.bytes().begin(), tail.bytes().end());
  ObjectEntry entry;
  EXPECT_FALSE(ReadRecord(grid, entry).ok);

  std::vector<uint8_t> particle = ParticleBytes(1);
  particle.resize(particle.size() - (4 + 4 + 4 + 9));  // cut after the first ease list
  ByteWriter huge;
  huge.Int(0x7FFFFFFF);
  PutEasePoint(huge, 0, 0, 1);
  particle.insert(particle.end(), huge.bytes().begin(), huge.bytes().end());
  ObjectEntry particle_entry;
  const ReadResult result = ReadRecord(particle, particle_entry);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error_offset, particle.size());
}

TEST(ObjectRecords, JointTreeNestedTooDeeplyIsRefused) {
  ByteWriter out;
  out.Byte(8);
  out.Short(1);
  out.Short(-1);
  PutColour(out, 0, 0, 0, 0);
  for (int i = 0; i < 100000; ++i) PutJointNode(out, i, 1);
  ObjectEntry entry;
  const ReadResult result = ReadRecord(out.Take(), entry);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("nesting deeper than"), std::string::npos) << result.error;
}

TEST(ObjectRecords, WritingRefusesAnEntryWhoseCodeDoesNotMatchItsRecord) {
  ObjectEntry entry;
  entry.type = 2;
  entry.record = RectRecord{};
  ByteWriter out;
  WriteVisitor visitor(out);
  visitor.Record("entry", entry);
  EXPECT_FALSE(visitor.ok());
}

}  // namespace
}  // namespace cva::testing
