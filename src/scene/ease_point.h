#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "render/vec2.h"
#include "stream/record_fields.h"

namespace cva {

// Curve codes of an ease point. Codes 0 and 5 and above have no curve (the value holds).
enum class EaseCurveKind : uint8_t {
  kNone = 0,
  kLinear = 1,
  kHoldToEnd = 2,
  kHermite = 3,
  kSaw = 4,
};

// One point of an easing curve as stored: its position, the code of the curve that leads to it
// from the previous point and that curve's own fields.
struct EasePointRecord {
  float x = 0.0f;
  float y = 0.0f;
  uint8_t curve = 0;
  // Hermite curves only.
  Vec2 end_tangent;
  Vec2 start_tangent;
  // Saw curves only.
  float frequency = 0.0f;
  float amplitude = 0.0f;

  template <class V>
  void Visit(V& v) {
    v.Float("x", x);
    v.Float("y", y);
    v.Byte("curve", curve);
    if (curve == static_cast<uint8_t>(EaseCurveKind::kHermite)) {
      v.Float("end_tangent_x", end_tangent.x);
      v.Float("end_tangent_y", end_tangent.y);
      v.Float("start_tangent_x", start_tangent.x);
      v.Float("start_tangent_y", start_tangent.y);
    } else if (curve == static_cast<uint8_t>(EaseCurveKind::kSaw)) {
      v.Float("frequency", frequency);
      v.Float("amplitude", amplitude);
    }
  }
  friend bool operator==(const EasePointRecord&, const EasePointRecord&) = default;
};

// The curve that leads from the previous ease point to the one that owns it.
class EaseCurve {
 public:
  virtual ~EaseCurve() = default;
  virtual EaseCurveKind Kind() const = 0;
  // The eased value at `u` (0 at the previous point, 1 at this one) between the previous
  // point's value y0 and this point's y1.
  virtual float ValueAt(float u, float y0, float y1) const = 0;
};

class LinearCurve final : public EaseCurve {
 public:
  EaseCurveKind Kind() const override { return EaseCurveKind::kLinear; }
  float ValueAt(float u, float y0, float y1) const override;
};

// Holds the previous point's value until the end of the stretch, then takes its own.
class HoldToEndCurve final : public EaseCurve {
 public:
  EaseCurveKind Kind() const override { return EaseCurveKind::kHoldToEnd; }
  float ValueAt(float u, float y0, float y1) const override;
};

class HermiteCurve final : public EaseCurve {
 public:
  HermiteCurve(Vec2 start_tangent, Vec2 end_tangent)
      : start_tangent_(start_tangent), end_tangent_(end_tangent) {}
  EaseCurveKind Kind() const override { return EaseCurveKind::kHermite; }
  // The y of the cubic Hermite curve from (x0, y0) to (x1, y1) with these tangents (unscaled).
  float ValueAt(float u, float y0, float y1) const override;
  Vec2 start_tangent() const { return start_tangent_; }
  Vec2 end_tangent() const { return end_tangent_; }

 private:
  Vec2 start_tangent_;
  Vec2 end_tangent_;
};

// A straight line with a saw-tooth added on top.
class SawCurve final : public EaseCurve {
 public:
  SawCurve(float frequency, float amplitude) : frequency_(frequency), amplitude_(amplitude) {}
  EaseCurveKind Kind() const override { return EaseCurveKind::kSaw; }
  // The straight line plus a saw-tooth of `frequency` x 30 teeth over the stretch, each rising
  // by amplitude x 1.5.
  float ValueAt(float u, float y0, float y1) const override;
  float frequency() const { return frequency_; }
  float amplitude() const { return amplitude_; }

 private:
  float frequency_;
  float amplitude_;
};

// The curve a record describes, or null when its code has none.
std::unique_ptr<EaseCurve> CreateEaseCurve(const EasePointRecord& record);

// One point of an easing curve: at fraction x of a segment the eased fraction is y. The curve
// (if any) leads to this point from the previous one.
struct EasePoint {
  float x = 0.0f;
  float y = 0.0f;
  std::unique_ptr<EaseCurve> curve;

  static EasePoint FromRecord(const EasePointRecord& record);
};

std::vector<EasePoint> EasePointsFromRecords(const std::vector<EasePointRecord>& records);

}  // namespace cva
