#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document/composed_provider.h"

namespace cva::testing {

// A provider whose primitives record how the scene objects configure them. Named data is one
// byte for every name, so images (of 4 by 4 pixels) load.
class RecordingProvider final : public ComposedProvider {
 public:
  struct SpriteLog final : InertSprite {
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
  };
  struct QuadLog final : InertSolidQuad {
    Vec2 size{-1.0f, -1.0f};
    void SetSize(Vec2 s) override { size = s; }
  };
  struct MeshLog final : InertMesh {
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

   private:
    void Write(std::vector<Vec2>& to, int32_t i, Vec2 value) {
      if (!locked || i < 0 || i >= vertex_count) {
        wrote_unlocked = true;
        return;
      }
      to[i] = value;
    }
  };

  RecordingProvider() {
    SetDataSource(data_);
    SetGraphics(graphics_);
  }

  // Primitives created, in order; they belong to the objects that asked for them.
  std::vector<SpriteLog*> sprites;
  std::vector<QuadLog*> quads;
  std::vector<MeshLog*> meshes;

 private:
  struct Data final : DataSource {
    std::unique_ptr<OpenDataRequest> OpenData(const EncodedText&) override {
      return std::make_unique<CompleteDataRequest>(std::vector<uint8_t>{1});
    }
  } data_;
  struct Image final : InertImage {
    using InertImage::InertImage;
    ImageSize Size() const override { return {4, 4}; }
  };
  struct Graphics final : InertGraphics {
    explicit Graphics(RecordingProvider& p) : log(p) {}
    std::unique_ptr<SolidQuad> CreateSolidQuad() override { return Keep(log.quads); }
    std::unique_ptr<Sprite> CreateSprite() override { return Keep(log.sprites); }
    std::unique_ptr<MeshPrimitive> CreateMesh(int32_t vertices, int32_t indices) override {
      return Keep(log.meshes, vertices, indices);
    }
    std::unique_ptr<ImageResource> CreateImageResource(ResourceProvider& owner,
                                                       const EncodedText& name) override {
      return std::make_unique<Image>(owner, name);
    }
    template <class T, class... Args>
    static std::unique_ptr<T> Keep(std::vector<T*>& list, Args... args) {
      auto made = std::make_unique<T>(args...);
      list.push_back(made.get());
      return made;
    }
    RecordingProvider& log;
  } graphics_{*this};
};

}  // namespace cva::testing
