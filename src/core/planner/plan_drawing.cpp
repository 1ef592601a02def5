#include "core/planner/plan_drawing.h"

#include <algorithm>
#include <cmath>

#include "core/planner/plank_outline.h"
#include "core/text/error.h"

namespace ostrivane {
namespace {

// Baselines of the two text lines under a plank, below its lowest point, and the depth of the
// band they fill.
constexpr double kFirstBaseline = 8;
constexpr double kSecondBaseline = 16;
constexpr double kTextBand = 20;

struct Extent {
    double xmin = INFINITY;
    double ymin = INFINITY;
    double xmax = -INFINITY;
    double ymax = -INFINITY;
    void add(const CurvePoint& p) {
        xmin = std::min(xmin, p.x);
        xmax = std::max(xmax, p.x);
        ymin = std::min(ymin, p.y);
        ymax = std::max(ymax, p.y);
    }
};

// A rough width of a text line, so the extent covers it: letters are about as wide as high.
double text_width(const DrawingText& t) {
    return 0.7 * t.height * static_cast<double>(t.text.size());
}

void add_text(Extent& e, const DrawingText& t) {
    e.add({t.x, t.y});
    e.add({t.x + text_width(t), t.y + t.height});
}

}  // namespace

std::vector<int> exported_entries(const PlankList& list, int entry, bool one_plank) {
    if (one_plank && entry > 0)
        return {entry};
    std::vector<int> all;
    for (int i = 1; i <= static_cast<int>(list.entries.size()); ++i)
        all.push_back(i);
    return all;
}

double polyline_length(const std::vector<CurvePoint>& points, bool closed) {
    double length = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        length += std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
    if (closed && points.size() > 1)
        length +=
            std::hypot(points.front().x - points.back().x, points.front().y - points.back().y);
    return length;
}

PlanDrawing plan_drawing(const TBetaSPLpoints& profile, const PlankPlan& plan, const PlanInputs& in,
                         const std::vector<int>& entries, MessageSink& notices, JobContext& job) {
    if (entries.empty())
        throw Error("There is no plank to export: the plank list is empty");
    PlanDrawing drawing;
    Extent all;
    TBetaSPLpoints outline{notices};
    double next_top = 0;  // the highest y the next plank may reach
    for (const int entry : entries) {
        const PlankChoice choice = choose_plank(plan.list, entry, in.thickness);
        if (choice.k < 0)
            throw Error("There is no plank " + std::to_string(entry) + " to export");
        FillSpline(profile, in.turning_axis_y, in.margin, choice.c, outline, job);
        if (outline.Nopoints < 2) {
            throw Error(
                "The profile is too short for a plank template: its outline needs at least two "
                "points, one millimetre or more apart");
        }
        PlankDrawing p;
        p.entry = entry;
        p.name = plan.list.entries[static_cast<std::size_t>(choice.k)];
        double half_width = 0;
        for (int k = 0; k < outline.Nopoints; ++k)
            half_width = std::max(half_width, in.turning_axis_y - outline.Y.Tomatch[k]);
        // The first plank stays where the plan has it; the others go below, clear of the texts.
        if (!drawing.planks.empty())
            p.offset = next_top - (in.turning_axis_y + half_width);
        for (int k = 0; k < outline.Nopoints; ++k)
            p.half.push_back({outline.X.Tomatch[k], outline.Y.Tomatch[k] + p.offset});
        const double axis = in.turning_axis_y + p.offset;
        p.outline = p.half;
        for (auto it = p.half.rbegin(); it != p.half.rend(); ++it)
            p.outline.push_back({it->x, 2 * axis - it->y});
        p.axis_from = {p.half.front().x, axis};
        p.axis_to = {p.half.back().x, axis};
        const double bottom = axis - half_width;
        const double x = p.half.front().x;
        p.texts.push_back({x, bottom - kFirstBaseline, kDrawingTextHeight,
                           "Plank " + std::to_string(entry) + ": " + p.name});
        p.texts.push_back({x, bottom - kSecondBaseline, kDrawingTextHeight, in.name});
        for (const CurvePoint& q : p.outline)
            all.add(q);
        for (const DrawingText& t : p.texts)
            add_text(all, t);
        next_top = bottom - kTextBand - kDrawingMargin;
        drawing.planks.push_back(std::move(p));
    }
    const double bar_y = next_top - 2;
    drawing.bar_from = {all.xmin, bar_y};
    drawing.bar_to = {all.xmin + kScaleBarLength, bar_y};
    drawing.bar_tick = 2;
    drawing.bar_text = {all.xmin, bar_y - drawing.bar_tick - 2 - kDrawingTextHeight,
                        kDrawingTextHeight, "100 mm"};
    all.add({drawing.bar_from.x, bar_y + drawing.bar_tick});
    all.add({drawing.bar_to.x, bar_y - drawing.bar_tick});
    add_text(all, drawing.bar_text);
    if (!std::isfinite(all.xmin) || !std::isfinite(all.xmax) || !std::isfinite(all.ymin) ||
        !std::isfinite(all.ymax)) {
        throw Error("The plank templates have no finite size, so they cannot be exported");
    }
    drawing.xmin = all.xmin;
    drawing.ymin = all.ymin;
    drawing.xmax = all.xmax;
    drawing.ymax = all.ymax;
    return drawing;
}

}  // namespace ostrivane
