#pragma once
// Natural cubic spline through at most 10 knots, evaluated at at most 100
// query abscissae. Arrays are 1-based: entry 0 carries nothing. Plain
// numerics: no allocation, no exceptions; the outcome is the error code.
#include <array>
#include <cstdint>

using TSplineKnots = std::array<double, 11>;
using TSplineSamples = std::array<double, 101>;
// 0 success; 1 a step shorter than 0.1; 2 abscissae not monotonic (reversing
// did not cure it); 3 fewer than two knots.
using SplineError = std::uint8_t;

constexpr int MaxSplineKnots = 10;
constexpr int MaxSplineSamples = 100;

void CubicSpline(int N, TSplineKnots& X, TSplineKnots& Y, int M, const TSplineSamples& Xq,
                 TSplineSamples& Yq, SplineError& Err);
