// placeholder
#include "diagram/spl.h"
void CubicSpline(int, TSplineKnots&, TSplineKnots&, int, const TSplineSamples&, TSplineSamples&, SplineError& Err) { Err = 3; }
