#include "render/soft/soft_rasterizer.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace cva {
namespace {

// Screen positions are snapped to 1/256 pixel before the edge functions are evaluated, so
// coverage is decided on exact integers.
constexpr int64_t kSubpixels = 256;
// Triangles reaching further than this many pixels from the origin are clipped to it first,
// which keeps the fixed-point edge functions inside 64 bits.
constexpr double kGuardBand = 1048576.0;

int64_t FloorDiv(int64_t value, int64_t divisor) {
  int64_t q = value / divisor;
  if ((value % divisor != 0) && ((value < 0) != (divisor < 0))) --q;
  return q;
}

int64_t CeilDiv(int64_t value, int64_t divisor) {
  return -FloorDiv(-value, divisor);
}

// byte / 255 for every byte, as float and as double, so pixels need no division.
struct ByteScale {
  float as_float[256];
  double as_double[256];
  ByteScale() {
    for (int i = 0; i < 256; ++i) {
      as_float[i] = static_cast<float>(i) / 255.0f;
      as_double[i] = i / 255.0;
    }
  }
};
const ByteScale kByteTable;

uint8_t ToByte(double value) {
  if (!(value > 0.0)) return 0;  // also NaN
  if (value >= 1.0) return 255;
  return static_cast<uint8_t>(value * 255.0 + 0.5);
}

// One edge of a snapped triangle: E(p) = dx (p.y - y0) - dy (p.x - x0), positive inside.
struct Edge {
  int64_t x0, y0, dx, dy;
  bool top_left;

  Edge(int64_t ax, int64_t ay, int64_t bx, int64_t by)
      : x0(ax), y0(ay), dx(bx - ax), dy(by - ay), top_left((dy == 0 && dx > 0) || dy < 0) {}
  int64_t At(int64_t px, int64_t py) const { return dx * (py - y0) - dy * (px - x0); }
  // A pixel centre exactly on the edge counts only for top and left edges.
  int64_t Bias() const { return top_left ? 0 : -1; }
};

using Polygon = std::vector<SoftRasterizer::ScreenVertex>;

SoftRasterizer::ScreenVertex Lerp(const SoftRasterizer::ScreenVertex& a,
                                  const SoftRasterizer::ScreenVertex& b, double t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
          a.u + (b.u - a.u) * t, a.v + (b.v - a.v) * t};
}

// Keeps the part of the polygon where `distance` (a signed distance to one guard-band side,
// positive inside) is not negative.
template <class Distance>
Polygon ClipSide(const Polygon& in, Distance distance) {
  Polygon out;
  for (size_t i = 0; i < in.size(); ++i) {
    const auto& a = in[i];
    const auto& b = in[(i + 1) % in.size()];
    const double da = distance(a);
    const double db = distance(b);
    if (da >= 0) out.push_back(a);
    if ((da >= 0) != (db >= 0)) out.push_back(Lerp(a, b, da / (da - db)));
  }
  return out;
}

bool InsideGuardBand(const SoftRasterizer::ScreenVertex& v) {
  return std::fabs(v.x) <= kGuardBand && std::fabs(v.y) <= kGuardBand;
}

}  // namespace

SoftRasterizer::SoftRasterizer(int32_t width, int32_t height) {
  Resize(width, height);
}

void SoftRasterizer::Resize(int32_t width, int32_t height) {
  width = std::clamp(width, 1, SoftTexture::kMaxSide);
  height = std::clamp(height, 1, SoftTexture::kMaxSide);
  colour_ = SoftTexture(width, height, {0, 0, 0, 255});
  depth_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 1.0f);
}

void SoftRasterizer::ClearDepth(float depth) {
  std::fill(depth_.begin(), depth_.end(), depth);
}

void SoftRasterizer::SetFrameStates() {
  blend_ = true;
  src_blend_ = BlendFactor::kSrcAlpha;
  dest_blend_ = BlendFactor::kInvSrcAlpha;
}

void SoftRasterizer::SetRenderState(RenderState state, uint32_t value) {
  auto compare = [](uint32_t v) {
    switch (static_cast<CompareFunc>(v)) {
      case CompareFunc::kGreater:
        return Compare::kGreater;
      case CompareFunc::kGreaterEqual:
        return Compare::kGreaterEqual;
      default:
        return Compare::kAlways;
    }
  };
  auto factor = [](uint32_t v) {
    return v >= static_cast<uint32_t>(BlendFactor::kZero) &&
                   v <= static_cast<uint32_t>(BlendFactor::kInvDestColour)
               ? static_cast<BlendFactor>(v)
               : BlendFactor::kOne;
  };
  switch (state) {
    case RenderState::kAlphaTestEnable:
      alpha_test_ = value != 0;
      break;
    case RenderState::kAlphaFunc:
      alpha_func_ = compare(value);
      break;
    case RenderState::kAlphaRef:
      alpha_ref_ = std::min<uint32_t>(value, 255);
      break;
    case RenderState::kAlphaBlendEnable:
      blend_ = value != 0;
      break;
    case RenderState::kBlendOp:  // only addition exists
      break;
    case RenderState::kSrcBlend:
      src_blend_ = factor(value);
      break;
    case RenderState::kDestBlend:
      dest_blend_ = factor(value);
      break;
    case RenderState::kZEnable:
      z_enable_ = value != 0;
      break;
    case RenderState::kZWriteEnable:
      z_write_ = value != 0;
      break;
    case RenderState::kZFunc:
      z_func_ = compare(value);
      break;
  }
}

Matrix4 SoftRasterizer::Projection() const {
  // Orthographic, off centre, left-handed: left 0, right width, bottom height, top 0, near 0,
  // far 10. The view matrix is the identity.
  const float w = static_cast<float>(width());
  const float h = static_cast<float>(height());
  const float zn = 0.0f;
  const float zf = 10.0f;
  Matrix4 p = Matrix4::Identity();
  p.m[0][0] = 2.0f / w;
  p.m[1][1] = 2.0f / (0.0f - h);
  p.m[2][2] = 1.0f / (zf - zn);
  p.m[3][0] = (0.0f + w) / (0.0f - w);
  p.m[3][1] = (0.0f + h) / (h - 0.0f);
  p.m[3][2] = zn / (zn - zf);
  return p;
}

bool SoftRasterizer::TransformVertex(const SoftVertex& in, const Matrix4& wp, const Matrix4& t,
                                     ScreenVertex& out) const {
  const auto& m = wp.m;
  const float cx = in.x * m[0][0] + in.y * m[1][0] + m[3][0];
  const float cy = in.x * m[0][1] + in.y * m[1][1] + m[3][1];
  const float cz = in.x * m[0][2] + in.y * m[1][2] + m[3][2];
  const float cw = in.x * m[0][3] + in.y * m[1][3] + m[3][3];
  if (!(cw > 0.0f) || !std::isfinite(cw)) return false;
  // Viewport: x from -1..1 to 0..width, y from 1..-1 to 0..height, depth 0..1 unchanged.
  out.x = (cx / cw + 1.0f) * 0.5f * static_cast<float>(width());
  out.y = (1.0f - cy / cw) * 0.5f * static_cast<float>(height());
  out.z = cz / cw;
  // Two-component texture coordinates enter the texture matrix as (u, v, 1, 0).
  out.u = in.u * t.m[0][0] + in.v * t.m[1][0] + t.m[2][0];
  out.v = in.u * t.m[0][1] + in.v * t.m[1][1] + t.m[2][1];
  return std::isfinite(out.x) && std::isfinite(out.y) && std::isfinite(out.z);
}

void SoftRasterizer::DrawFan(std::span<const SoftVertex> vertices, const Matrix4& world,
                             Colour colour, const SoftTexture* texture,
                             const Matrix4& texture_matrix) {
  if (vertices.size() < 3) return;
  fan_indices_.clear();
  for (size_t i = 1; i + 1 < vertices.size() && i + 1 <= 0xFFFF; ++i) {
    fan_indices_.insert(fan_indices_.end(),
                        {0, static_cast<uint16_t>(i), static_cast<uint16_t>(i + 1)});
  }
  DrawIndexed(vertices, fan_indices_, world, colour, texture, texture_matrix);
}

void SoftRasterizer::DrawIndexed(std::span<const SoftVertex> vertices,
                                 std::span<const uint16_t> indices, const Matrix4& world,
                                 Colour colour, const SoftTexture* texture,
                                 const Matrix4& texture_matrix) {
  // The material: each byte times 1/255 (as a double), stored as a float.
  constexpr double kByteScale = 1.0 / 255.0;
  DrawInputs inputs{
      {static_cast<float>(colour.red * kByteScale), static_cast<float>(colour.green * kByteScale),
       static_cast<float>(colour.blue * kByteScale), static_cast<float>(colour.alpha * kByteScale)},
      texture != nullptr && !texture->empty() ? texture : nullptr};
  const Matrix4 wp = Multiply(world, Projection());
  // Scratch buffers kept between draws, so a steady scene allocates nothing per draw.
  std::vector<ScreenVertex>& screen = screen_;
  std::vector<uint8_t>& placed = placed_;
  screen.resize(vertices.size());
  placed.resize(vertices.size());
  for (size_t i = 0; i < vertices.size(); ++i) {
    placed[i] = TransformVertex(vertices[i], wp, texture_matrix, screen[i]) ? 1 : 0;
  }
  for (size_t t = 0; t + 3 <= indices.size(); t += 3) {
    const size_t a = indices[t], b = indices[t + 1], c = indices[t + 2];
    // An index naming no vertex drops its triangle instead of reading past the buffer.
    if (a >= screen.size() || b >= screen.size() || c >= screen.size()) continue;
    if (!placed[a] || !placed[b] || !placed[c]) continue;
    Triangle(screen[a], screen[b], screen[c], inputs);
  }
}

void SoftRasterizer::Triangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                              const DrawInputs& inputs) {
  if (InsideGuardBand(a) && InsideGuardBand(b) && InsideGuardBand(c)) {
    RasterizeSnapped(a, b, c, inputs);
    return;
  }
  Polygon polygon{a, b, c};
  polygon = ClipSide(polygon, [](const ScreenVertex& v) { return v.x + kGuardBand; });
  polygon = ClipSide(polygon, [](const ScreenVertex& v) { return kGuardBand - v.x; });
  polygon = ClipSide(polygon, [](const ScreenVertex& v) { return v.y + kGuardBand; });
  polygon = ClipSide(polygon, [](const ScreenVertex& v) { return kGuardBand - v.y; });
  for (size_t i = 1; i + 1 < polygon.size(); ++i) {
    RasterizeSnapped(polygon[0], polygon[i], polygon[i + 1], inputs);
  }
}

void SoftRasterizer::RasterizeSnapped(const ScreenVertex& a, const ScreenVertex& b0,
                                      const ScreenVertex& c0, const DrawInputs& inputs) {
  auto snap = [](double value) { return static_cast<int64_t>(std::llround(value * kSubpixels)); };
  const ScreenVertex* pb = &b0;
  const ScreenVertex* pc = &c0;
  int64_t ax = snap(a.x), ay = snap(a.y);
  int64_t bx = snap(pb->x), by = snap(pb->y);
  int64_t cx = snap(pc->x), cy = snap(pc->y);
  // Twice the signed area; positive for triangles that turn clockwise on screen (y down).
  int64_t area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
  if (area == 0) return;
  if (area < 0) {
    if (cull_ccw_) return;
    std::swap(pb, pc);
    std::swap(bx, cx);
    std::swap(by, cy);
    area = -area;
  }
  const ScreenVertex& b = *pb;
  const ScreenVertex& c = *pc;

  const int64_t x_min = std::max<int64_t>(0, CeilDiv(std::min({ax, bx, cx}), kSubpixels));
  const int64_t x_max =
      std::min<int64_t>(width() - 1, FloorDiv(std::max({ax, bx, cx}), kSubpixels));
  const int64_t y_min = std::max<int64_t>(0, CeilDiv(std::min({ay, by, cy}), kSubpixels));
  const int64_t y_max =
      std::min<int64_t>(height() - 1, FloorDiv(std::max({ay, by, cy}), kSubpixels));
  if (x_min > x_max || y_min > y_max) return;

  // Edge opposite each vertex: its value is that vertex's barycentric weight times the area.
  const Edge ea(bx, by, cx, cy);
  const Edge eb(cx, cy, ax, ay);
  const Edge ec(ax, ay, bx, by);
  const double inv_area = 1.0 / static_cast<double>(area);
  for (int64_t y = y_min; y <= y_max; ++y) {
    const int64_t py = y * kSubpixels;
    int64_t wa = ea.At(x_min * kSubpixels, py);
    int64_t wb = eb.At(x_min * kSubpixels, py);
    int64_t wc = ec.At(x_min * kSubpixels, py);
    const int64_t step_a = -ea.dy * kSubpixels;
    const int64_t step_b = -eb.dy * kSubpixels;
    const int64_t step_c = -ec.dy * kSubpixels;
    for (int64_t x = x_min; x <= x_max; ++x, wa += step_a, wb += step_b, wc += step_c) {
      if (wa + ea.Bias() < 0 || wb + eb.Bias() < 0 || wc + ec.Bias() < 0) continue;
      const double la = static_cast<double>(wa) * inv_area;
      const double lb = static_cast<double>(wb) * inv_area;
      const double lc = static_cast<double>(wc) * inv_area;
      ShadePixel(static_cast<int32_t>(x), static_cast<int32_t>(y), la * a.z + lb * b.z + lc * c.z,
                 la * a.u + lb * b.u + lc * c.u, la * a.v + lb * b.v + lc * c.v, inputs);
    }
  }
}

bool SoftRasterizer::Passes(Compare func, double value, double reference) {
  switch (func) {
    case Compare::kGreater:
      return value > reference;
    case Compare::kGreaterEqual:
      return value >= reference;
    case Compare::kLessEqual:
      return value <= reference;
    case Compare::kAlways:
      break;
  }
  return true;
}

void SoftRasterizer::ShadePixel(int32_t x, int32_t y, double z, double u, double v,
                                const DrawInputs& inputs) {
  // Points in front of the near plane or beyond the far plane are clipped away.
  if (z < -1e-6 || z > 1.0 + 1e-6) return;
  z = std::clamp(z, 0.0, 1.0);

  // Texture stage 0: texture MODULATE current, for colour and alpha.
  float src[4] = {inputs.material[0], inputs.material[1], inputs.material[2], inputs.material[3]};
  if (inputs.texture != nullptr) {
    const Texel t = inputs.texture->SampleWrapPoint(static_cast<float>(u), static_cast<float>(v));
    const uint8_t texel[4] = {t.r, t.g, t.b, t.a};
    for (int i = 0; i < 4; ++i) src[i] *= kByteTable.as_float[texel[i]];
  }

  if (alpha_test_) {
    const int32_t alpha = static_cast<int32_t>(static_cast<double>(src[3]) * 255.0 + 0.5);
    if (!Passes(alpha_func_, static_cast<double>(alpha), static_cast<double>(alpha_ref_))) return;
  }

  const size_t index =
      static_cast<size_t>(y) * static_cast<size_t>(width()) + static_cast<size_t>(x);
  if (z_enable_) {
    if (!Passes(z_func_, z, depth_[index])) return;
    if (z_write_) depth_[index] = static_cast<float>(z);
  }

  uint8_t* pixel = colour_.MutableRow(y) + static_cast<size_t>(x) * 4;
  if (!blend_) {
    for (int i = 0; i < 3; ++i) pixel[i] = ToByte(src[i]);
    return;
  }
  const double alpha = src[3];
  for (int i = 0; i < 3; ++i) {
    const double dest = kByteTable.as_double[pixel[i]];
    auto factor = [&](BlendFactor f) {
      switch (f) {
        case BlendFactor::kZero:
          return 0.0;
        case BlendFactor::kOne:
          return 1.0;
        case BlendFactor::kSrcAlpha:
          return alpha;
        case BlendFactor::kInvSrcAlpha:
          return 1.0 - alpha;
        case BlendFactor::kInvDestColour:
          return 1.0 - dest;
      }
      return 1.0;
    };
    pixel[i] = ToByte(src[i] * factor(src_blend_) + dest * factor(dest_blend_));
  }
}

}  // namespace cva
