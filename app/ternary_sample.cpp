#include "app/ternary_sample.h"

#include <initializer_list>

using namespace ternary;
using namespace ternarysample;

namespace {

struct TSampleField {
  const char* Identifier;
  // The T-points in order around the field: its corner, a binary eutectic,
  // the ternary eutectic, the other binary eutectic. The corner is also the
  // field's primary phase: the pure metal crystallizes first.
  TTernarySamplePoint Points[4];
  float FillA, FillB;
};

// Seeds off the grid lines (every 20 % of each share at the default five
// steps), where the fill can be seen to start.
const TSampleField Fields[] = {
    {"(Bi)", {Bi, BiPb, Eutectic, BiSn}, 75, 12},
    {"(Pb)", {Pb, PbSn, Eutectic, BiPb}, 15, 63},
    {"(Sn)", {Sn, BiSn, Eutectic, PbSn}, 15, 12},
};

// The three eutectic valleys between the binary eutectics and the ternary
// eutectic, with the slight bend of the published liquidus projections; a
// separator before each. Each run starts at the ternary eutectic: a line
// leaves out its last pixel, so three runs ending there would leave a hole
// at the junction through which the area fill floods the neighbouring
// field. Their other ends lie on the triangle's outline.
constexpr double Separator = -1;
const std::initializer_list<std::pair<double, double>> Valleys = {
    {Separator, Separator},
    {Eutectic.A, Eutectic.B}, {53.2, 35.8}, {54.3, 40.0}, {BiPb.A, BiPb.B},
    {Separator, Separator},
    {Eutectic.A, Eutectic.B}, {35.0, 34.9}, {17.0, 37.2}, {PbSn.A, PbSn.B},
    {Separator, Separator},
    {Eutectic.A, Eutectic.B}, {53.8, 22.0}, {55.4, 11.0}, {BiSn.A, BiSn.B},
};

}  // namespace

void LoadTernarySample(TTernagram& g) {
  // The published compositions are mass percent.
  g.SetCUnits(cuMassPercents);

  const std::pair<TSubstance*, std::pair<const char*, float>> substances[] = {
      {g.SubstanceA(), {"Bi", 208.98f}},
      {g.SubstanceB(), {"Pb", 207.2f}},
      {g.SubstanceC(), {"Sn", 118.71f}}};
  for (const auto& [s, data] : substances) {
    s->SetName(QString::fromLatin1(data.first));
    s->Element = QString::fromLatin1(data.first);
    s->ElementAtoms = 1;
    s->MolMass = data.second;
  }

  int i = 0;
  for (const TSampleField& f : Fields) {
    TTernaryArea& area = g.AreaList()[i++];
    area.Identifier = QString::fromLatin1(f.Identifier);
    area.TwoPhase = 0;
    area.TPointCount = 0;
    for (const TTernarySamplePoint& p : f.Points)
      area.TPoints[area.TPointCount++] = TTernaryTPoint{float(p.A), float(p.B), p.T};
    area.FillA = f.FillA;
    area.FillB = f.FillB;
    area.PrimaryPhase = {true, float(f.Points[0].A), float(f.Points[0].B)};
  }
  g.SetAreas(i);

  g.CurveA().clear();
  g.CurveB().clear();
  for (const auto& [a, b] : Valleys) {
    g.CurveA().push_back(a);
    g.CurveB().push_back(b);
  }
  g.SetCurveLastIndex(int(Valleys.size()) - 1);

  // Isotherms every 50 degrees from the corners' and eutectics' points,
  // drawn as labelled smooth lines. A band of one degree on the 0.5 % grid
  // catches a point in every row where the liquidus is steepest (the (Bi)
  // field near its corner) and still gives thin lines; a label on every 40th
  // point keeps them readable.
  // The temperatures come from the triangulated surface: it gives every
  // measured point its own temperature, is smooth across the field, keeps
  // a plane a plane and bends as little as its points allow (the altitude
  // estimate is off by degrees between the points, and with four points
  // the polynomial's terms 1, x, y, x² favour the share of Bi).
  TIsotherm& iso = *g.Isotherms();
  iso.SetMethodStep(0.5f);
  iso.SetError(1);
  iso.SetStep(50);
  iso.SetGraphType(itSpline);
  iso.SetSigned(true);
  iso.SetSignStep(40);
  g.SetTCalcMethod(tcTriangulation);

  g.SetTitle(QStringLiteral("Bi-Pb-Sn Sample"));
  g.SetDrawSplines(true);
  g.SetDrawAreas(true);
  g.SetDrawTPoints(true);
  g.SetDrawIsotherms(true);
  g.SetLegend(true);
  g.SetValuesTable(true);
  g.SetCoPhasesTable(true);
  g.SetMarkMode(true);
  g.SetDrawCrystallization(true);
}
