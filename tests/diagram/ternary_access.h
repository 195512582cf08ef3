#pragma once
// Reaches into the ternary control's state where a test has to set it up
// directly: the zoom flag, the isotherm chains.
#include <vector>

#include "diagram/ternagram.h"

class TTernagramTestAccess {
 public:
  static void SetZoom(TTernagram& g, bool Value) { g.zoom_ = Value; }
  static std::vector<std::vector<TIsoPoint>>& Chains(TTernagram& g) { return g.isoPoints_; }
  static std::vector<int>& Counts(TTernagram& g) { return g.isoPointCounts_; }
  static void DrawChains(TTernagram& g, TCanvas& Canvas) { g.DrawIsothermChains(Canvas); }
  // Puts the given chains in place as if the scan had found them.
  static void SetChains(TTernagram& g, const std::vector<std::vector<TIsoPoint>>& chains,
                        int low) {
    g.isoPoints_ = chains;
    g.isoPointCounts_.clear();
    for (const auto& c : chains) g.isoPointCounts_.push_back(int(c.size()));
    g.isoGapCounts_.assign(chains.size(), 0);
    g.Isotherms()->LowIsotherm = low;
    g.Isotherms()->IsothermCount = int(chains.size()) - 1;
    g.Isotherms()->Calculated = true;
  }
  // The zoom without the mouse: a drag from Start to x = X released.
  static void ZoomInFrom(TTernagram& g, TPoint Start, int X) {
    g.dragStart_ = Start;
    g.dragX_ = X;
    g.zoomDragging_ = true;
    g.ZoomIn();
  }
  static bool Clip(const TTernagram& g, double px, double py, double qx, double qy, TPoint& From,
                   TPoint& To) {
    return g.ClipSegment(px, py, qx, qy, From, To);
  }
  static void SetComputingIsotherms(TTernagram& g, bool Value) { g.computingIsotherms_ = Value; }
};
