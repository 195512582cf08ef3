// Zooming: the zoom window, its image in the unzoomed picture, the rubber
// band, the clipping of curve segments and the edge seeds.
#include <algorithm>
#include <cmath>

#include "diagram/ternagram.h"

using namespace ternary;

void TTernagram::ComputeZoomImage() {}

bool TTernagram::ClipSegment(double, double, double, double, TPoint&, TPoint&) const {
  return false;
}

void TTernagram::DrawRubberBand(int) {}
void TTernagram::TakeEdgeSeeds() {}
void TTernagram::RenameCorners() {}
void TTernagram::ZoomIn() {}
void TTernagram::ZoomOut() {}
