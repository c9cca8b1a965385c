#pragma once

#include <span>

#include "render/vec2.h"

namespace cva {

// Closed polygons (the last point connects to the first) as the shape-overlap test sees them.

// Whether segments p0-p1 and q0-q1 cross or touch. Segments shorter than 0.0001 and segments
// that are parallel within 0.0001 (the cross product of their directions) never intersect.
bool SegmentsIntersect(Vec2 p0, Vec2 p1, Vec2 q0, Vec2 q1);

// Whether `point` lies inside or on the convex polygon: on the same side of every edge as of
// the closing edge. Fewer than three points contain nothing.
bool ConvexPolygonContains(std::span<const Vec2> polygon, Vec2 point);

// Whether two convex polygons overlap: their bounding boxes meet (touching counts), and an edge
// of one crosses an edge of the other or a point of one lies inside the other. Empty polygons
// overlap nothing.
bool PolygonsOverlap(std::span<const Vec2> a, std::span<const Vec2> b);

}  // namespace cva
