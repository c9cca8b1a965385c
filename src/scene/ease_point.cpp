#include "scene/ease_point.h"

namespace cva {

std::unique_ptr<EaseCurve> CreateEaseCurve(const EasePointRecord& record) {
  switch (static_cast<EaseCurveKind>(record.curve)) {
    case EaseCurveKind::kLinear:
      return std::make_unique<LinearCurve>();
    case EaseCurveKind::kHoldToEnd:
      return std::make_unique<HoldToEndCurve>();
    case EaseCurveKind::kHermite:
      return std::make_unique<HermiteCurve>(record.start_tangent, record.end_tangent);
    case EaseCurveKind::kSaw:
      return std::make_unique<SawCurve>(record.frequency, record.amplitude);
    case EaseCurveKind::kNone:
      break;
  }
  return nullptr;
}

EasePoint EasePoint::FromRecord(const EasePointRecord& record) {
  return EasePoint{record.x, record.y, CreateEaseCurve(record)};
}

std::vector<EasePoint> EasePointsFromRecords(const std::vector<EasePointRecord>& records) {
  std::vector<EasePoint> points;
  points.reserve(records.size());  // records already read, so the size is real
  for (const EasePointRecord& record : records) points.push_back(EasePoint::FromRecord(record));
  return points;
}

}  // namespace cva
