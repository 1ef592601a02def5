#pragma once
#include <string>
#include <vector>

#include "core/curve/beta_spline.h"
#include "core/planner/plank_plan.h"
#include "core/text/job_context.h"
#include "core/text/message_sink.h"

namespace ostrivane {

// A line of text: its left end on the baseline at (x, y), letters `height` millimetres high,
// reading from left to right with y pointing up.
struct DrawingText {
    double x = 0;
    double y = 0;
    double height = 0;
    std::string text;
};

// One plank's template as a cutting machine takes it: the outline as one closed polyline, the
// plank's half of it as the window prints it followed by the other half mirrored about the
// turning axis, back to the start.
struct PlankDrawing {
    int entry = 0;                    // the plank list entry, from 1
    std::string name;                 // the list entry's text: the layer or group the plank goes on
    double offset = 0;                // how far the plank was moved in y to lie beside the others
    std::vector<CurvePoint> half;     // the outline as the plan computes it, moved by `offset`
    std::vector<CurvePoint> outline;  // closed: the first point is not repeated at the end
    std::vector<DrawingText> texts;   // the plank's number and the program name
    CurvePoint axis_from;             // the turning axis under the template
    CurvePoint axis_to;
};

// Every plank of a plan laid out for export, in millimetres at 1:1, y up. The first plank lies
// where the plan computes it (profile coordinates), each further one below the one before
// with its texts, so no two overlap; the scale bar lies below them all.
struct PlanDrawing {
    std::vector<PlankDrawing> planks;
    CurvePoint bar_from;  // a bar of kScaleBarLength millimetres, with its length written under it
    CurvePoint bar_to;
    double bar_tick = 0;  // half the height of the marks across its ends
    DrawingText bar_text;
    // The extent of everything above.
    double xmin = 0;
    double ymin = 0;
    double xmax = 0;
    double ymax = 0;
};

inline constexpr double kScaleBarLength = 100;
inline constexpr double kDrawingTextHeight = 5;
// The space left around the drawing's content, and between planks.
inline constexpr double kDrawingMargin = 10;

// The templates of `entries` (list entries from 1) of the plan's plank list, for the profile
// and the inputs the plan was made with. Each outline is computed as the plan computes the
// selected one. Throws Error for an entry beyond the list, an outline of fewer than two points,
// or a walk that fails or is cancelled.
PlanDrawing plan_drawing(const TBetaSPLpoints& profile, const PlankPlan& plan,
                         const PlanInputs& inputs, const std::vector<int>& entries,
                         MessageSink& notices, JobContext& job);

// The entries exported: only `entry` when one plank was asked for, else the whole list.
std::vector<int> exported_entries(const PlankList& list, int entry, bool one_plank);

// The length of a polyline, closed or open.
double polyline_length(const std::vector<CurvePoint>& points, bool closed);

}  // namespace ostrivane
