#include "render/soft/soft_rasterizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "render/soft/band_workers.h"
#include "render/soft/edge_bound.h"
#include "render/soft/textured_span.h"

namespace cva {
namespace {

// Screen positions are snapped to 1/256 pixel before the edge functions are evaluated, so
// coverage is decided on exact integers.
constexpr int64_t kSubpixels = 256;
// Triangles reaching further than this many pixels from the origin are clipped to it first,
// which keeps the fixed-point edge functions inside 64 bits.
constexpr double kGuardBand = 1048576.0;
// Snapped coordinates within this bound keep every edge value below 2^52 (the frame is at most
// 2^22 subpixels wide), so doubles step them along a row exactly.
constexpr int64_t kSmallCoordinate = int64_t{1} << 24;
// Rows per band when several threads share the frame; bands go round the threads in turn.
constexpr int32_t kBandRows = 64;
constexpr int32_t kMaxThreads = 16;

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

bool PowerOfTwo(int32_t value) {
  return value > 0 && (value & (value - 1)) == 0;
}

}  // namespace

SoftRasterizer::SoftRasterizer(int32_t width, int32_t height) {
  Resize(width, height);
}

SoftRasterizer::~SoftRasterizer() = default;

void SoftRasterizer::Resize(int32_t width, int32_t height) {
  Flush();
  width = std::clamp(width, 1, SoftTexture::kMaxSide);
  height = std::clamp(height, 1, SoftTexture::kMaxSide);
  colour_ = SoftTexture(width, height, {0, 0, 0, 255});
  depth_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 1.0f);
}

void SoftRasterizer::ClearColour(Texel colour) {
  commands_.push_back({Command::Kind::kClearColour, {colour.r, colour.g, colour.b, 255}, 0.0f, 0});
  if (!workers_) Flush();
}

void SoftRasterizer::ClearDepth(float depth) {
  depth_cleared_ = depth;
  commands_.push_back({Command::Kind::kClearDepth, {}, depth, 0});
  if (!workers_) Flush();
}

void SoftRasterizer::SetThreads(int32_t count) {
  Flush();
  count = std::clamp(count, 1, kMaxThreads);
  workers_ = count > 1 ? std::make_unique<BandWorkers>(count) : nullptr;
}

int32_t SoftRasterizer::threads() const {
  return workers_ ? workers_->count() : 1;
}

void SoftRasterizer::Flush() {
  if (commands_.empty()) return;
  if (workers_) {
    const int32_t count = workers_->count();
    const int32_t bands = (height() + kBandRows - 1) / kBandRows;
    workers_->Run([&](int32_t worker) {
      for (int32_t band = worker; band < bands; band += count) {
        RunRows(band * kBandRows, std::min(height(), (band + 1) * kBandRows));
      }
    });
  } else {
    RunRows(0, height());
  }
  commands_.clear();
  draws_.clear();
  triangles_.clear();
}

void SoftRasterizer::RunRows(int32_t first_row, int32_t end_row) {
  const size_t w = static_cast<size_t>(width());
  const size_t first = static_cast<size_t>(first_row) * w;
  const size_t end = static_cast<size_t>(end_row) * w;
  for (const Command& command : commands_) {
    if (command.kind == Command::Kind::kClearDepth) {
      std::fill(depth_.begin() + static_cast<ptrdiff_t>(first),
                depth_.begin() + static_cast<ptrdiff_t>(end), command.depth);
      continue;
    }
    if (command.kind == Command::Kind::kClearColour) {
      uint8_t* pixels = colour_.MutableRow(first_row);
      for (size_t i = 0; i < end - first; ++i) std::memcpy(pixels + i * 4, &command.colour, 4);
      continue;
    }
    const Draw& draw = draws_[command.draw_index];
    for (size_t i = 0; i < draw.triangle_count; ++i) {
      RasterizeRows(triangles_[draw.first_triangle + i], draw, first_row, end_row);
    }
  }
}

void SoftRasterizer::SetFrameStates() {
  states_.blend = true;
  states_.src_blend = BlendFactor::kSrcAlpha;
  states_.dest_blend = BlendFactor::kInvSrcAlpha;
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
      states_.alpha_test = value != 0;
      break;
    case RenderState::kAlphaFunc:
      states_.alpha_func = compare(value);
      break;
    case RenderState::kAlphaRef:
      states_.alpha_ref = std::min<uint32_t>(value, 255);
      break;
    case RenderState::kAlphaBlendEnable:
      states_.blend = value != 0;
      break;
    case RenderState::kBlendOp:  // only addition exists
      break;
    case RenderState::kSrcBlend:
      states_.src_blend = factor(value);
      break;
    case RenderState::kDestBlend:
      states_.dest_blend = factor(value);
      break;
    case RenderState::kZEnable:
      states_.z_enable = value != 0;
      break;
    case RenderState::kZWriteEnable:
      states_.z_write = value != 0;
      break;
    case RenderState::kZFunc:
      states_.z_func = compare(value);
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
  const SoftTexture* tex = inputs.texture;
  const PixelStates& st = states_;
  const bool fast = fast_paths_ && tex != nullptr && PowerOfTwo(tex->width()) &&
                    PowerOfTwo(tex->height()) &&
                    std::all_of(std::begin(inputs.material), std::end(inputs.material),
                                [](float m) { return m == 1.0f; }) &&
                    !st.alpha_test && st.blend && st.src_blend == BlendFactor::kSrcAlpha &&
                    st.dest_blend == BlendFactor::kInvSrcAlpha &&
                    (!st.z_enable || st.z_func == Compare::kAlways ||
                     (st.z_func == Compare::kLessEqual && depth_cleared_ >= 0.0f));
  const size_t first = triangles_.size();
  for (size_t t = 0; t + 3 <= indices.size(); t += 3) {
    const size_t a = indices[t], b = indices[t + 1], c = indices[t + 2];
    // An index naming no vertex drops its triangle instead of reading past the buffer.
    if (a >= screen.size() || b >= screen.size() || c >= screen.size()) continue;
    if (!placed[a] || !placed[b] || !placed[c]) continue;
    Triangle(screen[a], screen[b], screen[c]);
  }
  if (triangles_.size() == first) return;
  draws_.push_back({inputs, states_, fast, first, triangles_.size() - first});
  commands_.push_back({Command::Kind::kDraw, {}, 0.0f, draws_.size() - 1});
  if (!workers_) Flush();
}

void SoftRasterizer::Triangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c) {
  if (InsideGuardBand(a) && InsideGuardBand(b) && InsideGuardBand(c)) {
    Snap(a, b, c);
    return;
  }
  Polygon polygon{a, b, c};
  polygon = ClipSide(polygon, [](const ScreenVertex& v) { return v.x + kGuardBand; });
  polygon = ClipSide(polygon, [](const ScreenVertex& v) { return kGuardBand - v.x; });
  polygon = ClipSide(polygon, [](const ScreenVertex& v) { return v.y + kGuardBand; });
  polygon = ClipSide(polygon, [](const ScreenVertex& v) { return kGuardBand - v.y; });
  for (size_t i = 1; i + 1 < polygon.size(); ++i) {
    Snap(polygon[0], polygon[i], polygon[i + 1]);
  }
}

void SoftRasterizer::Snap(const ScreenVertex& a, const ScreenVertex& b0, const ScreenVertex& c0) {
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
  Setup t{a,     *pb,  *pc, ax, ay, bx, by, cx, cy, 0, 0, 0, 0, 1.0 / static_cast<double>(area),
          false, false};
  t.x_min = std::max<int64_t>(0, CeilDiv(std::min({ax, bx, cx}), kSubpixels));
  t.x_max = std::min<int64_t>(width() - 1, FloorDiv(std::max({ax, bx, cx}), kSubpixels));
  t.y_min = std::max<int64_t>(0, CeilDiv(std::min({ay, by, cy}), kSubpixels));
  t.y_max = std::min<int64_t>(height() - 1, FloorDiv(std::max({ay, by, cy}), kSubpixels));
  if (t.x_min > t.x_max || t.y_min > t.y_max) return;
  t.small = std::max({std::abs(ax), std::abs(ay), std::abs(bx), std::abs(by), std::abs(cx),
                      std::abs(cy)}) <= kSmallCoordinate;
  t.depth_zero = a.z == 0.0 && pb->z == 0.0 && pc->z == 0.0;
  triangles_.push_back(t);
}

void SoftRasterizer::RasterizeRows(const Setup& t, const Draw& draw, int32_t first_row,
                                   int32_t end_row) {
  const int64_t y_first = std::max<int64_t>(t.y_min, first_row);
  const int64_t y_last = std::min<int64_t>(t.y_max, end_row - 1);
  if (y_first > y_last) return;
  const ScreenVertex& a = t.a;
  const ScreenVertex& b = t.b;
  const ScreenVertex& c = t.c;
  // Edge opposite each vertex: its value is that vertex's barycentric weight times the area.
  const Edge ea(t.bx, t.by, t.cx, t.cy);
  const Edge eb(t.cx, t.cy, t.ax, t.ay);
  const Edge ec(t.ax, t.ay, t.bx, t.by);
  const int64_t step_a = -ea.dy * kSubpixels;
  const int64_t step_b = -eb.dy * kSubpixels;
  const int64_t step_c = -ec.dy * kSubpixels;
  const bool fast = draw.fast && t.small && t.depth_zero;
  const bool write_depth = draw.states.z_enable && draw.states.z_write;
  TexturedSpan span{};
  if (fast) {
    const SoftTexture& texture = *draw.inputs.texture;
    span.step_a = static_cast<double>(step_a);
    span.step_b = static_cast<double>(step_b);
    span.step_c = static_cast<double>(step_c);
    span.inv_area = t.inv_area;
    span.au = a.u, span.bu = b.u, span.cu = c.u;
    span.av = a.v, span.bv = b.v, span.cv = c.v;
    span.texels = texture.pixels().data();
    span.texture_width = texture.width();
    span.texture_height = texture.height();
    PrepareTexturedSpan(span);
  }
  const int64_t px = t.x_min * kSubpixels;
  const int64_t py = y_first * kSubpixels;
  int64_t wa = ea.At(px, py);
  int64_t wb = eb.At(px, py);
  int64_t wc = ec.At(px, py);
  EdgeBound bound_a(wa + ea.Bias(), step_a, ea.dx * kSubpixels);
  EdgeBound bound_b(wb + eb.Bias(), step_b, eb.dx * kSubpixels);
  EdgeBound bound_c(wc + ec.Bias(), step_c, ec.dx * kSubpixels);
  for (int64_t y = y_first; y <= y_last; ++y, wa += ea.dx * kSubpixels, wb += eb.dx * kSubpixels,
               wc += ec.dx * kSubpixels, bound_a.NextRow(), bound_b.NextRow(), bound_c.NextRow()) {
    // The covered pixels of the row, as offsets from x_min.
    int64_t lo = 0;
    int64_t hi = t.x_max - t.x_min;
    bound_a.Narrow(lo, hi);
    bound_b.Narrow(lo, hi);
    bound_c.Narrow(lo, hi);
    if (lo > hi) continue;
    const size_t row = static_cast<size_t>(y) * static_cast<size_t>(width());
    if (fast) {
      // The next row covers about the same pixels: ask for them while this one is drawn.
      if (y < y_last) {
        const uint8_t* next = colour_.Row(static_cast<int32_t>(y + 1));
        for (int64_t k = lo; k <= hi + 16; k += 16) {
          __builtin_prefetch(next + (t.x_min + std::min(k, hi)) * 4, 1);
        }
      }
      span.wa = static_cast<double>(wa + step_a * lo);
      span.wb = static_cast<double>(wb + step_b * lo);
      span.wc = static_cast<double>(wc + step_c * lo);
      const int64_t x = t.x_min + lo;
      DrawTexturedSpanOver(span, static_cast<int32_t>(hi - lo + 1),
                           colour_.MutableRow(static_cast<int32_t>(y)) + x * 4);
      if (write_depth) {
        std::fill_n(depth_.begin() + static_cast<ptrdiff_t>(row + static_cast<size_t>(x)),
                    hi - lo + 1, 0.0f);
      }
      continue;
    }
    for (int64_t k = lo; k <= hi; ++k) {
      const double la = static_cast<double>(wa + step_a * k) * t.inv_area;
      const double lb = static_cast<double>(wb + step_b * k) * t.inv_area;
      const double lc = static_cast<double>(wc + step_c * k) * t.inv_area;
      ShadePixel(static_cast<int32_t>(t.x_min + k), static_cast<int32_t>(y),
                 la * a.z + lb * b.z + lc * c.z, la * a.u + lb * b.u + lc * c.u,
                 la * a.v + lb * b.v + lc * c.v, draw.inputs, draw.states);
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
                                const DrawInputs& inputs, const PixelStates& states) {
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

  if (states.alpha_test) {
    const int32_t alpha = static_cast<int32_t>(static_cast<double>(src[3]) * 255.0 + 0.5);
    if (!Passes(states.alpha_func, static_cast<double>(alpha),
                static_cast<double>(states.alpha_ref)))
      return;
  }

  const size_t index =
      static_cast<size_t>(y) * static_cast<size_t>(width()) + static_cast<size_t>(x);
  if (states.z_enable) {
    if (!Passes(states.z_func, z, depth_[index])) return;
    if (states.z_write) depth_[index] = static_cast<float>(z);
  }

  uint8_t* pixel = colour_.MutableRow(y) + static_cast<size_t>(x) * 4;
  if (!states.blend) {
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
    pixel[i] = ToByte(src[i] * factor(states.src_blend) + dest * factor(states.dest_blend));
  }
}

}  // namespace cva
