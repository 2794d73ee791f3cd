#include "core/vector3.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kZeroLengthDivisor = 1e-99;
}

Vec3 Normalize3(Vec3 v) {
  double length = Length3(v);
  if (length == 0) length = kZeroLengthDivisor;
  return Div3(v, length);
}

Vec3 Min3(Vec3 a, Vec3 b) { return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::min(a.Z, b.Z)}; }
Vec3 Max3(Vec3 a, Vec3 b) { return {std::max(a.X, b.X), std::max(a.Y, b.Y), std::max(a.Z, b.Z)}; }

Vec3 ScaledDirection(Vec3 a, Vec3 b, double d) { return Scale3(Normalize3(Sub3(a, b)), d); }
void TrimSegmentStart(Segment3& seg, double d) { seg.Start = Add3(seg.Start, ScaledDirection(seg.End, seg.Start, d)); }
void TrimSegmentEnd(Segment3& seg, double d) { seg.End = Add3(seg.End, ScaledDirection(seg.Start, seg.End, d)); }

Vec2 MakeVec2(double x, double y) { return {x, y}; }
Vec2 Sub2(Vec2 a, Vec2 b) { return {a.X - b.X, a.Y - b.Y}; }
Vec2 Scale2(Vec2 v, double s) { return {v.X * s, v.Y * s}; }
double Length2(Vec2 v) { return std::sqrt(v.X * v.X + v.Y * v.Y); }

Vec2 Normalize2(Vec2 v) {
  double length = Length2(v);
  if (length == 0) length = kZeroLengthDivisor;
  return {v.X / length, v.Y / length};
}

TPoint RoundVec2(Vec2 v) {
  // nearbyint follows the default rounding mode: to nearest, ties to even.
  return {static_cast<int32_t>(std::nearbyint(v.X)), static_cast<int32_t>(std::nearbyint(v.Y))};
}
