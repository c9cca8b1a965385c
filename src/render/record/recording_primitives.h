#pragma once

// The primitives of a RecordingProvider: each draw appends one DrawRecord to the provider.

#include <memory>
#include <span>
#include <vector>

#include "render/primitives.h"
#include "render/record/recording_provider.h"

namespace cva::record {

class Quad final : public SolidQuad {
 public:
  explicit Quad(RecordingProvider& owner) : owner_(owner), id_(owner.NextPrimitiveId()) {}
  void SetSize(Vec2 size) override { size_ = size; }
  void Draw(const Transform& world, Colour colour) override;
  Vec2 size() const { return size_; }

 private:
  RecordingProvider& owner_;
  int32_t id_;
  Vec2 size_;
};

class TexturedQuad final : public Sprite {
 public:
  explicit TexturedQuad(RecordingProvider& owner) : owner_(owner), id_(owner.NextPrimitiveId()) {}
  void SetImage(ImageResource* image) override { image_ = image; }
  void SetSize(Vec2 size) override { size_ = size; }
  void SetUvOffset(Vec2 offset) override { uv_offset_ = offset; }
  void Draw(const Transform& world, Colour colour, const Transform& texture) override;
  void DrawPlain(const Transform& world, Colour colour) override;

 private:
  RecordingProvider& owner_;
  int32_t id_;
  ImageResource* image_ = nullptr;
  Vec2 size_;
  Vec2 uv_offset_;
};

// Keeps the vertices and indices it is given, within the counts it was created with.
class Mesh final : public MeshPrimitive {
 public:
  Mesh(RecordingProvider& owner, int32_t vertex_count, int32_t index_count);
  void SetImage(ImageResource* image) override { image_ = image; }
  void LockVertices() override { locked_ = true; }
  void UnlockVertices() override { locked_ = false; }
  // Ignored while the vertices are not locked or for an index outside the vertex count.
  void SetPosition(int32_t vertex, Vec2 position) override;
  void SetUv(int32_t vertex, Vec2 uv) override;
  // Keeps at most the index count.
  void SetIndices(std::span<const uint16_t> indices) override;
  void Draw(const Transform& world, Colour colour, const Transform& texture) override;
  void ReleaseBuffers() override;

  // The vertex positions written so far (one per vertex, empty once released).
  const std::vector<Vec2>& positions() const { return positions_; }

 private:
  RecordingProvider& owner_;
  int32_t id_;
  ImageResource* image_ = nullptr;
  bool locked_ = false;
  std::vector<Vec2> positions_;
  std::vector<Vec2> uvs_;
  std::vector<uint16_t> indices_;
  size_t index_count_;
};

class Glyph final : public GlyphEntry {
 public:
  explicit Glyph(RecordingProvider& owner) : owner_(owner), id_(owner.NextPrimitiveId()) {}
  Vec2 Size() const override { return {}; }
  void Draw(const Transform& world, Colour colour) override;

 private:
  RecordingProvider& owner_;
  int32_t id_;
};

// Every character maps to one glyph entry of the primitive. Fonts get indices from 0 in the
// order registered, an equal face, size and weight reusing its index, as real text primitives
// number them.
class Text final : public TextPrimitive {
 public:
  explicit Text(RecordingProvider& owner) : glyph_(owner) {}
  int32_t RegisterFont(const EncodedText& face, int32_t size, bool bold) override {
    for (size_t i = 0; i < fonts_.size(); ++i)
      if (fonts_[i].face == face && fonts_[i].size == size && fonts_[i].bold == bold)
        return static_cast<int32_t>(i);
    fonts_.push_back({face, size, bold});
    return static_cast<int32_t>(fonts_.size() - 1);
  }
  GlyphEntry* GetGlyph(int32_t, int32_t, uint16_t) override { return &glyph_; }
  void Flush() override {}

 private:
  struct Font {
    EncodedText face;
    int32_t size;
    bool bold;
  };
  Glyph glyph_;
  std::vector<Font> fonts_;
};

}  // namespace cva::record
