// placeholder
#include "diagram/binaplot.h"
const std::array<TColor, 16> AreaColors = {0xFFFFE0, 0xFFE0E0, 0xE0E0FF, 0xD8FFD8, 0xD0D0E8, 0xD0FFFF,
                                           0xFFFFB0, 0xFFC0C0, 0xC0C0FF, 0xB0FFB0, 0xA8A8D0, 0xA8FFFF,
                                           0xFFFF48, 0xFFA0A0, 0xA8A8FF, 0x78FF78};
TPhaseAreaList::TPhaseAreaList() {}
TPhaseArea TPhaseAreaList::Get(int i) const { return (i >= 0 && i < MaxAreas) ? items_[i] : TPhaseArea{}; }
void TPhaseAreaList::Put(int i, const TPhaseArea& a) { if (i >= 0 && i < MaxAreas) items_[i] = a; }
TPhaseArea& TPhaseAreaList::operator[](int i) { return (i >= 0 && i < MaxAreas) ? items_[i] : scratch_; }
const TPhaseArea& TPhaseAreaList::operator[](int i) const { return (i >= 0 && i < MaxAreas) ? items_[i] : scratch_; }
int TScaleMap::transformRounded(double v) const { return RoundPixel(transform(v) - p1) + int(p1); }
int RoundPixel(double v) { return std::isfinite(v) && std::fabs(v) < 1e9 ? int(std::nearbyint(v)) : 0; }
TBinaplot::TBinaplot(QWidget* AOwner) : TCustomControl(AOwner) {}
TBinaplot::~TBinaplot() = default;
void TBinaplot::SetGraphKind(binary::TGraphKind v) { graphKind_ = v; }
void TBinaplot::SetBorder(bool v) { border_ = v; }
void TBinaplot::SetPaperColor(TColor v) { paperColor_ = v; }
void TBinaplot::SetDrawSplines(bool v) { drawSplines_ = v; }
void TBinaplot::SetDrawAreas(bool v) { drawAreas_ = v; }
void TBinaplot::SetAreas(int v) { areas_ = v; }
void TBinaplot::SetHighTLimit(double v) { highTLimit_ = v; }
void TBinaplot::SetLowTLimit(double v) { lowTLimit_ = v; }
void TBinaplot::SetTUnits(binary::TTUnits v) { tUnits_ = v; }
void TBinaplot::SetSplinesData(const TSplinesData&) {}
double TBinaplot::ClampTemperature(double x) const { return x; }
