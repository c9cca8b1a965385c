#include "render_bench_scene.h"

#include "bench_motion.h"
#include "document/document_file.h"
#include "stream/byte_writer.h"
#include "stream/write_visitor.h"

namespace cva::bench {

std::vector<uint8_t> RenderBenchDocument() {
  DocumentFile file;
  file.header.stage_width = kWidth;
  file.header.stage_height = kHeight;
  file.header.frame_duration = 16.0f;
  ResourceRecord image;
  image.id = 1;
  image.load = Flag{true};
  image.kind = 0;
  image.name = StoredText::From(EncodedText::FromNarrow(kSpriteFile));
  file.resources.items.push_back(image);
  ImageRecord sprite;
  sprite.id = 1;
  sprite.size = {kSide, kSide};
  sprite.image = 1;
  sprite.colour = {255, 255, 255, 255};
  file.objects.items.push_back({2, ObjectRecord(std::in_place_index<2>, sprite)});
  file.label_names.items.push_back({0, StoredText::From(EncodedText::FromNarrow("default"))});
  NodeRecord root;
  root.id = 0;
  for (int i = 0; i < kNodes; ++i) {
    NodeRecord node;
    node.id = static_cast<int16_t>(1 + i);
    node.object = 1;
    LabelRecord label;
    label.label = 0;
    const float x = static_cast<float>((i * 37) % kWidth) - kSide;
    const float y = static_cast<float>((i * 53) % kHeight) - kSide;
    PositionValue p0, p1;
    p0.position = {x, y};
    p1.position = {x + 40000.0f * ((i % 3) - 1), y + 30000.0f * ((i % 5) - 2)};
    AngleValue a0, a1;
    a1.angle = 600.0f * ((i % 2) ? 1.0f : -1.0f);
    label.motions.items = {Move<2>(p0, p1), Move<3>(a0, a1)};
    node.labels.items.push_back(std::move(label));
    root.children.items.push_back(std::move(node));
  }
  file.root = std::move(root);
  ByteWriter out;
  WriteVisitor writer(out);
  file.Visit(writer);
  return out.Take();
}

RgbaBitmap RenderBenchSprite() {
  RgbaBitmap image(kSide, kSide);
  for (int32_t y = 0; y < kSide; ++y)
    for (int32_t x = 0; x < kSide; ++x) {
      const bool edge = x < 4 || y < 4 || x >= kSide - 4 || y >= kSide - 4;
      const bool cross = x == y || x == kSide - 1 - y;
      image.Set(
          x, y,
          Texel{static_cast<uint8_t>(x * 4), static_cast<uint8_t>(y * 4),
                static_cast<uint8_t>(cross ? 20 : 200), static_cast<uint8_t>(edge ? 0 : 255)});
    }
  return image;
}

}  // namespace cva::bench
