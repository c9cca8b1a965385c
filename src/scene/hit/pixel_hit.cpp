#include <cmath>
#include <cstdint>
#include <limits>

#include "render/image_resource.h"
#include "scene/hit/node_shape.h"
#include "scene/instance.h"
#include "scene/objects/image_instance.h"
#include "scene/objects/textured_objects.h"
#include "scene/property_record.h"
#include "scene/property_value.h"
#include "scene/scene_node.h"

namespace cva {
namespace {

// trunc(v) as an integer; values beyond the 32-bit range saturate and NaN gives 0, so that no
// conversion is undefined.
int64_t TruncatedInt(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kMin = std::numeric_limits<int32_t>::min();
  constexpr double kMax = std::numeric_limits<int32_t>::max();
  if (v <= kMin) return std::numeric_limits<int32_t>::min();
  if (v >= kMax) return std::numeric_limits<int32_t>::max();
  return static_cast<int64_t>(v);
}

// The fractional part of a texture coordinate, in [0, 1).
double Fraction(double v) {
  double f = v - std::trunc(v);
  if (f < 0.0) f += 1.0;
  return f;
}

// The remainder of `v` by `size`, taken into [0, size) so that the pixel asked for always lies
// inside the texture.
double Wrap(double v, double size) {
  double r = std::fmod(v, size);
  if (r < 0.0) r += size;
  return r < size ? r : 0.0;  // a tiny negative remainder can round up to `size`
}

}  // namespace

bool PixelHit(const SceneNode& node, Vec2 point) {
  const Instance* instance = node.instance();
  if (!instance || instance->Definition().TypeCode() != ObjectType::kImage) return false;
  // The image shown now, which property 9 may have swapped for another image object.
  const auto* placed = dynamic_cast<const ImageInstance*>(instance);
  ImageObject& image = placed ? placed->Shown() : static_cast<ImageObject&>(instance->Definition());
  const ImageResource* texture = image.ResolveImage();
  if (!texture) return false;
  const ImageSize size = texture->Size();
  if (size.width <= 0 || size.height <= 0) return false;

  const std::optional<Affine2> inverse = Affine2::Of(node.display().world()).Inverse();
  if (!inverse) return false;
  const Vec2 local = inverse->Apply(point);
  const Vec2 extent = instance->Size();
  const int64_t tile_w = TruncatedInt(extent.x), tile_h = TruncatedInt(extent.y);
  if (tile_w == 0 || tile_h == 0) return false;
  // 64-bit: a most negative coordinate divided by a tile size of -1 does not overflow.
  const int64_t ix = TruncatedInt(local.x) / tile_w;
  const int64_t iy = TruncatedInt(local.y) / tile_h;
  const double x = local.x - static_cast<double>(ix) * extent.x;
  const double y = local.y - static_cast<double>(iy) * extent.y;

  Vec2 offset;
  if (const auto* tex = FieldsOf<kTexOffsetProperty>(node.display().holder(kTexOffsetProperty)))
    offset = tex->offset;
  const double u =
      Fraction(static_cast<double>(image.record().texture_origin.x) + offset.x) * size.width;
  const double v =
      Fraction(static_cast<double>(image.record().texture_origin.y) + offset.y) * size.height;

  double px = u + x, py = v + y;
  if (const auto* repeat =
          FieldsOf<kTexRepeatProperty>(node.display().holder(kTexRepeatProperty))) {
    if (repeat->mirror_x.on() && ix % 2 != 0) px = extent.x + u - x;
    if (repeat->mirror_y.on() && iy % 2 != 0) py = extent.y + v - y;
  }
  px = Wrap(px, size.width);
  py = Wrap(py, size.height);
  if (!std::isfinite(px) || !std::isfinite(py)) return false;
  return texture->HitTest(static_cast<int32_t>(px), static_cast<int32_t>(py));
}

}  // namespace cva
