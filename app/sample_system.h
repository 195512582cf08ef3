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

// Applies the stored properties of the main window's diagram (all but its
// alignment, which the window sets), writes the eight sample areas, hands
// over SampleCurves() and switches curves and area fill on.
void LoadSampleSystem(TBinagram& Binagram1);
