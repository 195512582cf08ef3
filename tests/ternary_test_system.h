#pragma once
// A small ternary system for the tests: three primary fields, (A), (B) and
// (C), each bounded by two sides of the triangle and two eutectic valleys,
// meeting at a ternary eutectic E. Compositions are (A, B) in percent.
//
//   corners   A (100, 0) 1500 C   B (0, 100) 1700 C   C (0, 0) 1400 C
//   binary    e1 A-B (60, 40) 1100   e2 B-C (0, 45) 1200   e3 A-C (55, 0) 1050
//   ternary   E (40, 30) 900
//
// The valleys run e1 -> E, e2 -> E and e3 -> E, each a run of three
// points behind a separator.
#include <initializer_list>
#include <utility>

#include "diagram/ternagram.h"

namespace ternarytest {

struct TPointData {
  float A, B;
  int T;
};

inline void SetArea(TTernagram& g, int i, const QString& name, float fillA, float fillB,
                    std::initializer_list<TPointData> points, bool twoPhase = false) {
  TTernaryArea& a = g.AreaList()[i];
  a.Identifier = name;
  a.TwoPhase = twoPhase ? 1 : 0;
  a.TPointCount = 0;
  for (const TPointData& p : points) a.TPoints[a.TPointCount++] = {p.A, p.B, p.T};
  a.FillA = fillA;
  a.FillB = fillB;
}

inline void SetCurves(TTernagram& g, std::initializer_list<std::pair<double, double>> points) {
  g.CurveA().clear();
  g.CurveB().clear();
  for (auto [a, b] : points) {
    g.CurveA().push_back(a);
    g.CurveB().push_back(b);
  }
  g.SetCurveLastIndex(int(points.size()) - 1);
}

constexpr std::pair<double, double> Sep{-1, -1};

// Loads the system in the order a host does, with everything drawn.
inline void LoadTestSystem(TTernagram& g) {
  SetArea(g, 0, QStringLiteral("(A)"), 75, 8,
          {{100, 0, 1500}, {60, 40, 1100}, {40, 30, 900}, {55, 0, 1050}});
  SetArea(g, 1, QStringLiteral("(B)"), 12, 75,
          {{0, 100, 1700}, {0, 45, 1200}, {40, 30, 900}, {60, 40, 1100}});
  SetArea(g, 2, QStringLiteral("(C)"), 12, 12,
          {{0, 0, 1400}, {55, 0, 1050}, {40, 30, 900}, {0, 45, 1200}});
  g.SetAreas(3);
  SetCurves(g, {Sep, {60, 40}, {50, 36}, {40, 30}, Sep, {0, 45}, {20, 40}, {40, 30}, Sep,
                {55, 0}, {46, 14}, {40, 30}});
  g.SetTitle(QStringLiteral("Test System"));
  g.SetDrawSplines(true);
  g.SetDrawAreas(true);
  g.SetDrawTPoints(true);
}

}  // namespace ternarytest
