#include "app/sample_system.h"

#include <iterator>

namespace {

constexpr float Separator = -1;

// Compositions below are mass percent of Al2O3 as published; Mirror turns
// them into mass percent of SiO2, the control's SubstanceB.
constexpr float Mirror(float AluminaPercent) { return 100 - AluminaPercent; }

struct TSampleArea {
  const char* Identifier;  // UTF-8
  std::uint8_t TwoPhase;
  float AluminaPercent;
  float T;
};

// Entry 2 begins with the Cyrillic small letter a (U+0430), drawn like a
// Latin a; entry 3 uses a Latin a. Entries 1 and 7 are two separate regions
// with the same name.
constexpr TSampleArea SampleAreas[] = {
    {"Liquid", 0, 40, 1900},
    {"Mullite ss + Liquid", 1, 40, 1700},
    {"\u0430-Al2O3 + Liquid", 1, 90, 1950},
    {"Mulite ss + a-Al2O3", 1, 90, 1650},
    {"Cristobalite + Mullite ss", 1, 40, 1500},
    {"Cristobalite + Liquid", 1, 3, 1600},
    {"Mullite ss", 0, 75, 1650},
    {"Mullite ss + Liquid", 1, 75, 1885},
};

// (C, T) with C in mass percent of Al2O3; (-1, -1) separates the curves.
constexpr TSplinePoint SamplePoints[] = {
    {Separator, Separator},
    {0, 1720}, {2.5, 1670}, {3.75, 1630}, {5, 1585},
    {Separator, Separator},
    {5, 1585}, {7.5, 1635}, {10, 1665}, {15, 1700}, {20, 1728}, {25, 1753}, {30, 1775},
    {65, 1900},
    {Separator, Separator},
    {65, 1900}, {69, 1910}, {72, 1910}, {73, 1908}, {75, 1900}, {79, 1850},
    {Separator, Separator},
    {79, 1850}, {80, 1880}, {82, 1925}, {85, 1970}, {87, 1990}, {90, 2010}, {95, 2035},
    {100, 2050},
    {Separator, Separator},
    {0, 1585}, {72, 1585},
    {Separator, Separator},
    {72, 1910}, {72, 1400},
    {Separator, Separator},
    {72, 1910}, {73, 1890}, {75, 1865}, {77, 1852}, {78, 1850},
    {Separator, Separator},
    {78, 1850}, {100, 1850},
    {Separator, Separator},
    {78, 1850}, {78, 1400},
};
static_assert(std::size(SamplePoints) == 48);

}  // namespace

TSplinesData SampleCurves() {
  TSplinesData Data;
  Data.LastIndex = std::size(SamplePoints) - 1;
  Data.Points.reserve(std::size(SamplePoints));
  for (const TSplinePoint& p : SamplePoints) {
    const bool separator = p.C == Separator && p.T == Separator;
    Data.Points.push_back(separator ? p : TSplinePoint{Mirror(p.C), p.T});
  }
  return Data;
}

void ApplySampleProperties(TBinagram& Binagram1) {
  // The stored properties, in the order the window's layout applies them.
  // HighTLimit goes first: the initial window is 0..1000 and a low limit of
  // 1400 would be refused above a high limit of 1000.
  Binagram1.SetBorder(false);
  Binagram1.SetPaperColor(clBtnFace);
  Binagram1.SetAreas(8);
  Binagram1.SetHighTLimit(2100.0);
  Binagram1.SetLowTLimit(1400.0);
  Binagram1.SetCAxisStep(5);
  Binagram1.SetCUnits(binary::cuMassPercents);
  Binagram1.SetGridType(binary::gtOverAllScale);
  Binagram1.SetHighCLimit(100.0);
  Binagram1.SetMarkMode(true);
  Binagram1.SetMouseGrid(false);
  TSubstance* A = Binagram1.SubstanceA();
  A->SetName("Al2O3");
  A->Element = "Al";
  A->ElementAtoms = 2;
  A->MolMass = 101.9613f;
  TSubstance* B = Binagram1.SubstanceB();
  B->SetName("SiO2");
  B->Element = "Si";
  B->ElementAtoms = 1;
  B->MolMass = 60.0843f;
  Binagram1.SetTAxisStep(100);
  Binagram1.SetTitle("Al2O3-SiO2 Sample");
}

void FillSampleSystem(TBinagram& Binagram1, const TSplinesData& Curves) {
  for (int i = 0; i < int(std::size(SampleAreas)); ++i) {
    TPhaseArea Area = Binagram1.AreaList().Get(i);
    Area.Identifier = QString::fromUtf8(SampleAreas[i].Identifier).left(MaxIdentifierLength);
    Area.TwoPhase = SampleAreas[i].TwoPhase;
    Area.C = Mirror(SampleAreas[i].AluminaPercent);
    Area.T = SampleAreas[i].T;
    Binagram1.AreaList().Put(i, Area);
  }
  Binagram1.SetSplinesData(Curves);
  Binagram1.SetAreas(8);  // unchanged from the stored value: no extra repaint
  Binagram1.SetDrawSplines(true);
  Binagram1.SetDrawAreas(true);
}

void LoadSampleSystem(TBinagram& Binagram1) {
  ApplySampleProperties(Binagram1);
  FillSampleSystem(Binagram1, SampleCurves());
}
