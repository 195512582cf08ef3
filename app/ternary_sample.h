#pragma once
// The sample ternary system of the ternary window: Bi-Pb-Sn, a simple
// ternary eutectic, in mass percent. The intermetallic phase of the Bi-Pb
// side is left out, as textbooks simplify the system, so three primary
// fields (Bi), (Pb) and (Sn) meet at the ternary eutectic.
//
//   A = Bi (208.98 g/mol), melts at 271 C      bottom left
//   B = Pb (207.2 g/mol),  melts at 327 C      apex
//   C = Sn (118.71 g/mol), melts at 232 C      bottom right
//   binary eutectics  Bi-Pb 124 C at 55.5 Bi / 44.5 Pb
//                     Bi-Sn 139 C at 57 Bi / 43 Sn
//                     Pb-Sn 183 C at 38.1 Pb / 61.9 Sn
//   ternary eutectic  95 C at 52.5 Bi / 32 Pb / 15.5 Sn
#include "diagram/ternagram.h"

// The compositions of the sample's points, (A, B) in mass percent.
struct TTernarySamplePoint {
  double A, B;
  int T;  // degrees Celsius
};
namespace ternarysample {
constexpr TTernarySamplePoint Bi{100, 0, 271};
constexpr TTernarySamplePoint Pb{0, 100, 327};
constexpr TTernarySamplePoint Sn{0, 0, 232};
constexpr TTernarySamplePoint BiPb{55.5, 44.5, 124};
constexpr TTernarySamplePoint BiSn{57, 0, 139};
constexpr TTernarySamplePoint PbSn{0, 38.1, 183};
constexpr TTernarySamplePoint Eutectic{52.5, 32, 95};
// The areas in AreaList: the primary fields of Bi, Pb and Sn.
constexpr int FieldBi = 0, FieldPb = 1, FieldSn = 2;
}  // namespace ternarysample

// Loads the sample into Ternagram in the order a host loads a ternary
// system (units first, so the mass percent go in as such): substances,
// areas with their T-points and seeds, the valleys as curves, the isotherm
// settings, then the title and the switches.
void LoadTernarySample(TTernagram& Ternagram);
