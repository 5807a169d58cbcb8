#pragma once
// The world's comparisons with a tolerance of 1e-7, used wherever positions,
// timers and boxes are compared: a <= b means a - b <= 1e-7, a < b means
// a - b < -1e-7, and so on. Arguments are taken as double, so float
// positions and int boxes meet without rounding surprises.

namespace tolerance {

constexpr double kEpsilon = 1e-7;

constexpr bool Le(double a, double b) { return a - b <= kEpsilon; }
constexpr bool Ge(double a, double b) { return a - b >= -kEpsilon; }
constexpr bool Lt(double a, double b) { return a - b < -kEpsilon; }
constexpr bool Gt(double a, double b) { return a - b > kEpsilon; }

}  // namespace tolerance
