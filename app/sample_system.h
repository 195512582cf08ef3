#pragma once
// The sample Al2O3-SiO2 system that the demonstration shows.
//
// The control counts compositions as amounts of SubstanceB (SiO2). The
// sample's published data give mass percent of Al2O3, so every composition
// here is stored mirrored (100 - C): pure Al2O3 sits at 0, pure SiO2 at 100,
// and mullite (about 72 % Al2O3) at 28 % SiO2.
#include "diagram/binagram.h"

// The nine boundary curves: 48 points, each curve preceded by the separator
// (-1, -1), LastIndex 47.
TSplinesData SampleCurves();

// The stored properties of the main window's diagram, in the order the
// window applies them (all but the alignment, which is the window's).
void ApplySampleProperties(TBinagram& Binagram1);

// What the main window's creation does with its diagram: writes the eight
// sample areas into AreaList, hands over Curves and switches curves and
// area fill on.
void FillSampleSystem(TBinagram& Binagram1, const TSplinesData& Curves);

// Both of the above with SampleCurves(): the diagram as the main window
// shows it.
void LoadSampleSystem(TBinagram& Binagram1);
