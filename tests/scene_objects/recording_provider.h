#pragma once

#include <memory>
#include <string>
#include <vector>

#include "converter/inert_primitives.h"
#include "document/resource_provider.h"
#include "render/image_resource.h"
#include "sound/sound_resource.h"

namespace cva::testing {

// A provider whose primitives record how the scene objects configure them.
class RecordingProvider final : public ResourceProvider {
 public:
  struct SpriteLog final : public Sprite {
    ImageResource* image = nullptr;
    int set_image_calls = 0;
    Vec2 size{-1.0f, -1.0f};
    Vec2 uv_offset{-1.0f, -1.0f};
    void SetImage(ImageResource* i) override {
      image = i;
      ++set_image_calls;
    }
    void SetSize(Vec2 s) override { size = s; }
    void SetUvOffset(Vec2 o) override { uv_offset = o; }
    void Draw(const Transform&, Colour, const Transform&) override {}
    void DrawPlain(const Transform&, Colour) override {}
  };
  struct QuadLog final : public SolidQuad {
    Vec2 size{-1.0f, -1.0f};
    void SetSize(Vec2 s) override { size = s; }
    void Draw(const Transform&, Colour) override {}
  };
  struct MeshLog final : public MeshPrimitive {
    int32_t vertex_count = 0;
    int32_t index_count = 0;
    ImageResource* image = nullptr;
    bool locked = false;
    bool wrote_unlocked = false;
    std::vector<Vec2> positions;
    std::vector<Vec2> uvs;
    std::vector<uint16_t> indices;
    MeshLog(int32_t vertices, int32_t index_count_in)
        : vertex_count(vertices),
          index_count(index_count_in),
          positions(vertices, Vec2{-1, -1}),
          uvs(vertices, Vec2{-1, -1}) {}
    void SetImage(ImageResource* i) override { image = i; }
    void LockVertices() override { locked = true; }
    void UnlockVertices() override { locked = false; }
    void SetPosition(int32_t i, Vec2 p) override { Write(positions, i, p); }
    void SetUv(int32_t i, Vec2 t) override { Write(uvs, i, t); }
    void SetIndices(std::span<const uint16_t> in) override { indices.assign(in.begin(), in.end()); }
    void Draw(const Transform&, Colour, const Transform&) override {}
    void ReleaseBuffers() override {}

   private:
    void Write(std::vector<Vec2>& to, int32_t i, Vec2 value) {
      if (!locked || i < 0 || i >= vertex_count) {
        wrote_unlocked = true;
        return;
      }
      to[i] = value;
    }
  };

  // An image that loads from any fetched bytes.
  class Image final : public ImageResource {
   public:
    using ImageResource::ImageResource;
    ImageSize Size() const override { return {4, 4}; }
    bool HitTest(int32_t, int32_t) const override { return true; }

   protected:
    LoadResult Load(std::vector<uint8_t>&) override { return kLoaded; }
  };

  std::unique_ptr<Transform> CreateTransform() override {
    return std::make_unique<InertTransform>();
  }
  std::unique_ptr<OpenDataRequest> OpenData(const EncodedText&) override {
    return std::make_unique<CompleteDataRequest>(std::vector<uint8_t>{1});
  }
  std::unique_ptr<SolidQuad> CreateSolidQuad() override {
    auto q = std::make_unique<QuadLog>();
    quads.push_back(q.get());
    return q;
  }
  std::unique_ptr<Sprite> CreateSprite() override {
    auto s = std::make_unique<SpriteLog>();
    sprites.push_back(s.get());
    return s;
  }
  std::unique_ptr<SoundStream> CreateSoundStream(SoundResource&) override {
    return std::make_unique<InertSoundStream>();
  }
  std::unique_ptr<TextPrimitive> CreateTextPrimitive() override {
    return std::make_unique<InertTextPrimitive>();
  }
  std::unique_ptr<MeshPrimitive> CreateMesh(int32_t vertices, int32_t indices) override {
    auto m = std::make_unique<MeshLog>(vertices, indices);
    meshes.push_back(m.get());
    return m;
  }
  std::unique_ptr<ImageResource> CreateImageResource(const EncodedText& name) override {
    return std::make_unique<Image>(*this, name);
  }
  std::unique_ptr<SoundResource> CreateSoundResource(const EncodedText&) override {
    return nullptr;
  }
  void BeginMask(const Transform&, Vec2) override {}
  void EndMask() override {}
  void DebugPrint(const EncodedText&) override {}

  // Primitives created, in order; they belong to the objects that asked for them.
  std::vector<SpriteLog*> sprites;
  std::vector<QuadLog*> quads;
  std::vector<MeshLog*> meshes;
};

}  // namespace cva::testing
