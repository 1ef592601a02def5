#include "core/planner/plan_sizing.h"

#include <algorithm>
#include <cmath>

#include "core/curve/spline_points.h"
#include "core/text/error.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

// Far beyond any template a woodworker prints; keeps the scale an exact whole number.
constexpr double kMaxScale = 1e9;

bool finite(double v) {
    return std::isfinite(v);
}

}  // namespace

void check_printer_page(const PrinterPage& page) {
    const auto whole = [](double v) { return finite(v) && v >= 1 && v == std::floor(v); };
    if (!whole(page.PW) || !whole(page.PH)) {
        throw Error(
            "The printer page must be a whole number of dots wide and high, at least 1, "
            "not " +
            format_general(page.PW) + " x " + format_general(page.PH));
    }
    const auto in_range = [](double v) { return v >= kMinPrinterDpi && v <= kMaxPrinterDpi; };
    if (!in_range(page.dx) || !in_range(page.dy)) {
        throw Error("The printer resolution must be from " + format_general(kMinPrinterDpi) +
                    " to " + format_general(kMaxPrinterDpi) + " dots per inch, not " +
                    format_general(page.dx) + " x " + format_general(page.dy));
    }
    const double bytes = page.PW * page.PH * kPrintBytesPerDot;
    if (bytes > kMaxPageMemoryBytes) {
        throw Error("A page of " + format_general(page.PW) + " x " + format_general(page.PH) +
                    " dots needs " + format_fixed(bytes / 1048576, 0) +
                    " MB to print, more than the " + format_general(kMaxPageMemoryBytes / 1048576) +
                    " MB a page may use: choose a smaller page or a lower resolution");
    }
    const double width_mm = page.PW * 25.4 / page.dx;
    const double height_mm = page.PH * 25.4 / page.dy;
    if (width_mm > kMaxPaperMm || height_mm > kMaxPaperMm) {
        throw Error("A page of " + format_fixed(width_mm, 0) + " x " + format_fixed(height_mm, 0) +
                    " mm is larger than any paper: at most " + format_general(kMaxPaperMm) +
                    " mm each way are printed");
    }
}

void orient(PlanSizing& s, const PrinterPage& page) {
    const double PW = page.PW;
    const double PH = page.PH;
    s.use_width = false;
    s.use_height = false;
    const double a = s.DP_mm * s.SizeY;  // the template's height in dots at full size
    // The scale grows while the template at that scale is at least as high as both page sides.
    // A / scale only shrinks as the scale grows, so the first scale at which it fits is found
    // from an estimate instead of counting up one by one.
    const auto too_high = [&](double scale) {
        const double A = a / scale;
        return PH <= A && PW <= A;
    };
    double scale = 1;
    if (too_high(1)) {
        const double estimate = std::floor(a / std::max(PW, PH));
        if (!(estimate <= kMaxScale))
            throw Error("The plank template is too high to print on this page: " +
                        format_general(s.SizeY) + " mm");
        scale = std::max(1.0, estimate - 1);
        while (scale > 1 && !too_high(scale - 1))
            scale -= 1;
        while (too_high(scale))
            scale += 1;
    }
    s.scale = scale;
    const double A = a / scale;
    if (PH <= A && PW > A)
        s.use_height = true;
    else if (PH > A && PW < A)
        s.use_width = true;
    else if (PH > PW)  // fits both ways: the longer page side takes the template's length
        s.use_height = true;
    else
        s.use_width = true;
}

PlanSizing size_plan(TBetaSPLpoints& planspline, double turning_axis_y, double extra_margin,
                     const PrinterPage& page, JobContext& job) {
    check_printer_page(page);
    if (planspline.Nopoints < 2) {
        throw Error(
            "The profile is too short for a plank template: its outline needs at "
            "least two points, one millimetre or more apart");
    }
    if (failed(planspline.Calcgradients(&job)) &&
        planspline.GradCounter < TBetaSPLpoints::kMaxGradients) {
        if (job.cancelled())
            throw Error("Sizing the plank template was cancelled");
        throw Error("The plank outline could not be sampled, so it cannot be sized");
    }
    PlanSizing s;
    s.XminX = planspline.XminX;
    s.XmaxX = planspline.XmaxX;
    s.SizeX = std::fabs(planspline.XmaxX - planspline.XminX);
    // The sampling starts recording after the first step, so a template that is widest at its
    // very start would be clipped without its stored points.
    s.y_low = planspline.YminY;
    for (int k = 0; k < planspline.Nopoints; ++k)
        s.y_low = std::min(s.y_low, planspline.Y.Tomatch[k]);
    s.SizeY = std::fabs(turning_axis_y - s.y_low) + extra_margin;
    s.SizeWidth = page.PW * 25.4 / page.dx;
    s.SizeHeight = page.PH * 25.4 / page.dy;
    s.DP_mm = page.PW / s.SizeWidth;
    if (!finite(s.SizeX) || !finite(s.SizeY) || !finite(s.SizeWidth) || !finite(s.SizeHeight) ||
        !finite(s.DP_mm) || !finite(s.y_low) || !finite(s.XminX)) {
        throw Error("The plank template has no finite size, so it cannot be printed");
    }
    orient(s, page);
    return s;
}

}  // namespace ostrivane
