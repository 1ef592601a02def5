#pragma once
#include "core/text/job_context.h"

namespace ostrivane {

class TBetaSPLpoints;

// Rebuilds `planspline` as the outline of one plank's template: the profile walked in samples
// 1 to 2 mm apart in x, each stored at the y where the plank's inner face, `c` millimetres from
// the turning axis at y = `turning_axis_y`, meets the blank (the profile widened by half the
// margin). Where the plank misses the blank the outline lies on the axis line. The outline is
// stored in profile coordinates, from the profile's first point on; the sample that ends the walk
// is not stored.
//
// The profile needs at least two points. Its notices (a step search that did not converge) go
// to its own sink. Throws Error when the walk is cancelled through `job`, gives up on a profile
// too irregular to sample, or would need more outline points than a set holds.
void FillSpline(const TBetaSPLpoints& profile, double turning_axis_y, double margin, double c,
                TBetaSPLpoints& planspline, JobContext& job);

}  // namespace ostrivane
