// Layout, paint pipeline, curves and area fill.
#include "diagram/binagram.h"

void TBltBitmap::MakeLike(const TBitmap& Bitmap) {
  SetSize(Bitmap.Width(), Bitmap.Height());
  Canvas()->Brush.Color = clWindowFrame;
  Canvas()->Brush.Style = bsSolid;
  Canvas()->FillRect(TRect{0, 0, Width(), Height()});
}

void TBinagram::RunLayout(int, int) {}
TScaleMap TBinagram::CompositionMap() const { return {}; }
TScaleMap TBinagram::TemperatureMap() const { return {}; }
TScaleMap TBinagram::SavedCompositionMap() const { return {}; }
TScaleMap TBinagram::SavedTemperatureMap() const { return {}; }
void TBinagram::DrawFrame(TCanvas&) {}
void TBinagram::DrawCurves(TCanvas&) {}
void TBinagram::FillAreas(TCanvas&) {}
void TBinagram::ComputeZoomWindow() {}
bool TBinagram::MapZoomSegment(double, double, double, double, TRect&) const { return false; }
void TBinagram::SetZoomWindow(double LowC, double HighC, double LowT, double HighT) {
  zoomLowCLimit_ = LowC;
  zoomHighCLimit_ = HighC;
  zoomLowTLimit_ = LowT;
  zoomHighTLimit_ = HighT;
}

void TBinagram::Paint() {
  painted_ = false;
  Canvas()->Brush.Color = PaperColor();
  Canvas()->FillRect(ClientRect());
  painted_ = true;
}
