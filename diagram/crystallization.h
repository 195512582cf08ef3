#pragma once
// The crystallization path of a melt under equilibrium cooling in a ternary
// system of the simple eutectic type (pure solids, no solid solutions),
// constructed on the projection of the liquidus surface:
//
//   1. primary crystallization: the field's primary phase P separates and
//      the liquid moves from the melt X straight away from P until it meets
//      the field's boundary at L1;
//   2. cotectic crystallization: P and the neighbouring field's primary
//      phase Q separate together while the liquid follows the boundary
//      curve downhill to the point E where it meets a third field;
//   3. eutectic crystallization: at E the rest of the liquid solidifies as
//      P + Q + R at constant temperature.
//
// Amounts follow from the lever rule: at L1 the solid is |X L1| / |P L1| of
// the whole, at E the barycentric coordinates of X in the triangle P, Q, E
// give the amounts of P and Q and the liquid that is left.
//
// Plain numerics: the diagram is asked through TCrystallizationSystem (which
// field a composition lies in, a field's primary phase, the liquidus
// temperature) and hands over its boundary curves as polylines. No Qt.
#include <array>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace ternary {

// A composition: the shares of A and B in percent; C is 100 - A - B.
struct TCompositionPoint {
  double A = 0;
  double B = 0;
};

enum TCrystallizationKind {
  ckPrimary,   // Liquid -> P, from the liquidus temperature of the melt
  ckCotectic,  // Liquid -> P + Q along a boundary, from L1
  ckEutectic,  // Liquid -> P + Q + R at E, at constant temperature
  ckStop,      // the construction does not apply here; Stop says why
};

// Why a path ends before the ternary eutectic.
enum TCrystallizationStop {
  csNone,            // it does not: the path reaches the eutectic
  csNoField,         // the melt lies in no phase area
  csOnBoundary,      // the melt lies on a boundary between areas
  csNoPrimaryPhase,  // the melt's area names no primary phase
  csPrimaryPhase,    // the melt is its primary phase: it solidifies at once
  csNoTemperature,   // the liquidus estimate gives no temperature there
  csNoNeighbour,     // the boundary reached has no neighbouring area with a primary phase
  csReaction,        // the temperature does not fall along the boundary (peritectic type)
  csCurveEnds,       // the boundary ends without meeting a third area with a primary phase
};

struct TCrystallizationStep {
  TCrystallizationKind Kind = ckStop;
  // The liquidus temperature where the step begins, degrees Celsius; NaN
  // when there is none.
  double T = std::numeric_limits<double>::quiet_NaN();
  // The liquid where the step begins, and the way it goes during the step
  // (from Liquid on; empty for the eutectic and for a stop).
  TCompositionPoint Liquid;
  std::vector<TCompositionPoint> Way;
  // The areas whose primary phases crystallize in this step (for a stop:
  // the areas taking part up to there).
  std::vector<int> Fields;
  // Where the step begins: the solid share of the whole (0..1), and the
  // part of it each phase of Fields makes up so far (same order, may be
  // shorter than Fields when a phase has only just started).
  double Solid = 0;
  std::vector<double> Shares;
  TCrystallizationStop Stop = csNone;
};

// What the construction needs to know of a diagram.
struct TCrystallizationSystem {
  // The area at a composition: its index, -1 for none, -2 on a boundary.
  std::function<int(double A, double B)> FieldAt;
  // The composition of an area's primary phase, if it names one.
  std::function<std::optional<TCompositionPoint>(int Field)> PrimaryOf;
  // The liquidus temperature of an area at a composition, degrees Celsius;
  // NaN for none.
  std::function<double(int Field, double A, double B)> Temperature;
  // The boundary curves as polylines.
  std::vector<std::vector<TCompositionPoint>> Boundaries;
  // How far beside a boundary, in percent, the neighbouring area is looked
  // up, and the radius of the ring around a curve's end on which a third
  // area is looked for.
  double Probe = 0.5;
  double Ring = 2.0;
};

// The steps of the path of Melt, in order; the last one is the eutectic, or
// a stop with its reason.
std::vector<TCrystallizationStep> TraceCrystallization(const TCrystallizationSystem& System,
                                                       TCompositionPoint Melt);

// The barycentric coordinates of X in the triangle P, Q, R (summing to 1);
// nothing for a degenerate triangle.
std::optional<std::array<double, 3>> Barycentric(TCompositionPoint X, TCompositionPoint P,
                                                 TCompositionPoint Q, TCompositionPoint R);

}  // namespace ternary
