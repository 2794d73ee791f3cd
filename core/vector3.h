#pragma once
// Vector arithmetic on station positions (Vec3) and drawing points (Vec2).
// One unit is one pixel of the drawing: X to the right, Y downwards.

#include <cmath>
#include <cstdint>

struct Vec3 {
  double X = 0, Y = 0, Z = 0;
  friend bool operator==(const Vec3&, const Vec3&) = default;
};

struct Vec2 {
  double X = 0, Y = 0;
  friend bool operator==(const Vec2&, const Vec2&) = default;
};

struct Segment3 {
  Vec3 Start, End;
};

struct TPoint {
  int32_t X = 0, Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// The operations the loop engine runs millions of times are inline; the
// arithmetic is the same wherever they are compiled.
inline Vec3 MakeVec3(double x, double y, double z) { return {x, y, z}; }
inline Vec3 Add3(Vec3 a, Vec3 b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
inline Vec3 Sub3(Vec3 a, Vec3 b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
inline Vec3 Scale3(Vec3 v, double s) { return {v.X * s, v.Y * s, v.Z * s}; }
inline Vec3 Div3(Vec3 v, double s) { return {v.X / s, v.Y / s, v.Z / s}; }
// Square root of the sum of squares, the sum taken in extended precision.
inline double Length3(Vec3 v) {
  const long double x = v.X, y = v.Y, z = v.Z;
  return static_cast<double>(std::sqrt(x * x + y * y + z * z));
}
// v / |v|; a zero vector stays zero (divided by 1e-99).
Vec3 Normalize3(Vec3 v);
Vec3 Min3(Vec3 a, Vec3 b);
Vec3 Max3(Vec3 a, Vec3 b);
// A vector of length d pointing from b towards a.
Vec3 ScaledDirection(Vec3 a, Vec3 b, double d);
// Moves the start d towards the end.
void TrimSegmentStart(Segment3& seg, double d);
// Moves the end d towards the (current) start.
void TrimSegmentEnd(Segment3& seg, double d);

Vec2 MakeVec2(double x, double y);
Vec2 Sub2(Vec2 a, Vec2 b);
Vec2 Scale2(Vec2 v, double s);
double Length2(Vec2 v);
Vec2 Normalize2(Vec2 v);
// Rounds both coordinates to the nearest integer, ties to even.
TPoint RoundVec2(Vec2 v);
