#include "core/planner/plan_render.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "core/planner/plank_plan.h"
#include "core/plot/pixel_mapping.h"
#include "core/plot/tgrita.h"
#include "core/scene/profile_drawing.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

// Scale bars tried in turn, in paper millimetres, until one fits the page.
constexpr std::array<double, 4> kBarLengths = {100, 50, 20, 10};
constexpr Argb kTransparent = 0x00000000u;
// Captions shrink down to this size (pixels) to find a place clear of the template.
constexpr float kLeastTextSize = 12.0f;

// Draws in template coordinates (x along the template, y across), swapping them on the page
// when the template runs along the page height.
struct PageDrawer {
    Tgrita& grita;
    Canvas& bitmap;
    bool swap;

    void line(float thickness, double x1, double y1, double x2, double y2, Argb color) {
        if (swap)
            grita.DrawLine(thickness, bitmap, y1, x1, y2, x2, color);
        else
            grita.DrawLine(thickness, bitmap, x1, y1, x2, y2, color);
    }
    PointF pixel(double x, double y) const {
        return swap ? to_pixels(grita.grbounds_BMP, y, x) : to_pixels(grita.grbounds_BMP, x, y);
    }
    void text_at_pixel(float px, float py, float size, const std::string& s) {
        grita.GraphText(bitmap, px, py, size, s, kPlanBlack, true);
    }
};

void draw_outline_and_axis(PlankPlan& plan, Tgrita& grita, Canvas& bitmap) {
    const PlanSizing& s = plan.sizing;
    const auto thickness = static_cast<float>(s.DP_mm);
    draw_spline(grita, bitmap, plan.planspline, kPlanBlue, s.use_height, thickness);
    PageDrawer{grita, bitmap, s.use_height}.line(thickness, s.XminX, plan.turning_axis_y, s.XmaxX,
                                                 plan.turning_axis_y, kPlanBlue);
}

// A bar of a round length in paper millimetres along the template, in the strip beyond the
// axis (the side away from the profile), with its length written beside it.
void draw_scale_bar(PlankPlan& plan, const PlanPage& page, PageDrawer& d, float mark_thickness,
                    float text_size) {
    const PlanSizing& s = plan.sizing;
    const double L = plan.layout.L;  // page length along the template, paper mm
    double bar = 0;
    for (const double length : kBarLengths) {
        if (10 + length + 45 <= L) {
            bar = length;
            break;
        }
    }
    if (bar == 0)
        return;
    const PageWindow& w = page.window;
    const double y_top = s.use_height ? w.xmax : w.ymax;
    const double y = y_top - 4 * s.scale;
    const double x1 = page.x_from + 10 * s.scale;
    const double x2 = x1 + bar * s.scale;
    const double tick = 1.5 * s.scale;
    d.line(mark_thickness, x1, y, x2, y, kPlanBlack);
    d.line(mark_thickness, x1, y - tick, x1, y + tick, kPlanBlack);
    d.line(mark_thickness, x2, y - tick, x2, y + tick, kPlanBlack);
    std::string label = format_general(bar) + " mm";
    if (s.scale != 1) {
        label += " = " + format_general(bar * s.scale) + " mm at 1:" + format_general(s.scale);
    }
    const float tw = d.bitmap.text_width(label, Font{d.bitmap.font.family, text_size});
    const float th = d.bitmap.text_height(label, Font{d.bitmap.font.family, text_size});
    const PointF end = d.pixel(x2, y);
    const auto dp = static_cast<float>(s.DP_mm);
    if (s.use_height) {
        // The bar runs up the page; its length goes above its upper end, kept on the page.
        const float right = static_cast<float>(d.bitmap.width()) - dp;
        d.text_at_pixel(std::min(end.x - tw / 2, right - tw), end.y - 2 * dp - th, text_size,
                        label);
    } else {
        d.text_at_pixel(end.x + 2 * dp, end.y - th / 2, text_size, label);
    }
}

// Short marks across the axis line and across the outline where this page's part of the
// template meets the next one, so pages are cut and taped at the right place.
void draw_joining_marks(PlankPlan& plan, const PlanPage& page, PageDrawer& d, float mark_thickness,
                        float text_size) {
    const PlanSizing& s = plan.sizing;
    const PlanLayout& layout = plan.layout;
    const double per_mm = s.scale;  // template millimetres per paper millimetre
    const double dots_per_unit = (s.use_height ? plan.page.PH : plan.page.PW) / layout.W;
    // Inset by half a line so the mark lies wholly on the page.
    const double inset = mark_thickness / 2 / dots_per_unit;
    const auto dp = static_cast<float>(s.DP_mm);
    struct Join {
        double x;
        double inward;
        int neighbour;  // printed page number of the adjoining part
    };
    std::vector<Join> joins;
    const auto printed = [&](int segment) {
        return s.use_height ? layout.P - segment : segment + 1;
    };
    if (page.segment > 0)
        joins.push_back({page.x_from, 1.0, printed(page.segment - 1)});
    if (page.segment < layout.P - 1)
        joins.push_back({page.x_to, -1.0, printed(page.segment + 1)});
    for (const Join& j : joins) {
        const double x = j.x + j.inward * inset;
        const double half = 5 * per_mm;
        d.line(mark_thickness, x, plan.turning_axis_y - half, x, plan.turning_axis_y + half,
               kPlanBlack);
        const double outline_y = plan.planspline.YatX(j.x);
        if (std::isfinite(outline_y))
            d.line(mark_thickness, x, outline_y - half, x, outline_y + half, kPlanBlack);
        const std::string label = "join to page " + format_general(j.neighbour);
        const Font font{d.bitmap.font.family, text_size};
        const float tw = d.bitmap.text_width(label, font);
        const float th = d.bitmap.text_height(label, font);
        const PointF tip = d.pixel(x, plan.turning_axis_y + half);
        if (s.use_height) {
            // The template runs up the page: the lower edge joins the part before.
            const float py = j.inward > 0 ? tip.y - 2 * dp - th : tip.y + 2 * dp;
            d.text_at_pixel(tip.x + dp, py, text_size, label);
        } else {
            const float px = j.inward > 0 ? tip.x + 2 * dp : tip.x - 2 * dp - tw;
            d.text_at_pixel(px, tip.y - th - dp, text_size, label);
        }
    }
}

// Whether the segment a-b passes through the box (Liang-Barsky clipping).
bool segment_meets(PointF a, PointF b, const RectF& box) {
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const std::array<std::pair<double, double>, 4> edges = {
        std::pair{-dx, a.x - box.left}, std::pair{dx, box.right - a.x},
        std::pair{-dy, a.y - box.top}, std::pair{dy, box.bottom - a.y}};
    for (const auto& [p, q] : edges) {
        if (p == 0) {
            if (q < 0)
                return false;
            continue;
        }
        const double r = q / p;
        if (p < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1)
            return false;
    }
    return true;
}

bool overlaps(const RectF& a, const RectF& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The lines the template is drawn with on this page, in the bitmap's pixels.
std::vector<std::pair<PointF, PointF>> template_segments(PlankPlan& plan, const PageDrawer& d) {
    std::vector<std::pair<PointF, PointF>> segments;
    const TBetaSPLpoints& outline = plan.planspline;
    for (int k = 1; k < outline.Nopoints; ++k) {
        segments.emplace_back(d.pixel(outline.X.Tomatch[k - 1], outline.Y.Tomatch[k - 1]),
                              d.pixel(outline.X.Tomatch[k], outline.Y.Tomatch[k]));
    }
    segments.emplace_back(d.pixel(plan.sizing.XminX, plan.turning_axis_y),
                          d.pixel(plan.sizing.XmaxX, plan.turning_axis_y));
    return segments;
}

// The page's text lines, each at the left edge of the page, as near to its place (a third, a
// half and two thirds up the window) as it can be without touching the template's lines or
// another text line. Where no such place is left on the page, the line keeps its place on a
// box cleared behind it, so that it stays legible.
void draw_page_texts(PlankPlan& plan, const PlanPage& page, Tgrita& grita, Canvas& bitmap) {
    const PageWindow& w = page.window;
    const std::vector<std::string> texts = plan.texts(page.q);
    const double span = w.ymax - w.ymin;
    const std::array<double, 3> heights = {w.ymin + span / 3, w.ymin + span / 2,
                                           w.ymin + 2 * span / 3};
    const std::size_t first = 3 - texts.size();  // without a plank the first line is left out
    PageDrawer d{grita, bitmap, plan.sizing.use_height};
    const auto segments = template_segments(plan, d);
    // Clear of the lines by their thickness and a millimetre.
    const auto clearance = static_cast<float>(plan.sizing.DP_mm * 2);
    const auto free_at = [&](const RectF& box, const std::vector<RectF>& placed) {
        const RectF wide{box.left - clearance, box.top - clearance, box.right + clearance,
                         box.bottom + clearance};
        for (const auto& [a, b] : segments) {
            if (segment_meets(a, b, wide))
                return false;
        }
        return std::none_of(placed.begin(), placed.end(),
                            [&](const RectF& p) { return overlaps(p, wide); });
    };
    const auto page_height = static_cast<float>(bitmap.height());
    const auto page_width = static_cast<float>(bitmap.width());
    // Besides the window's left edge, the strip beyond the axis line (the side away from the
    // profile) when the template runs up the page.
    std::vector<float> lefts;
    if (plan.sizing.use_height) {
        const PointF axis = d.pixel(plan.sizing.XminX, plan.turning_axis_y);
        lefts.push_back(axis.x + clearance + static_cast<float>(plan.sizing.DP_mm));
    }
    std::vector<RectF> placed;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const PointF at = to_pixels(grita.grbounds_BMP, w.xmin, heights[first + i]);
        std::vector<float> xs = {at.x};
        xs.insert(xs.end(), lefts.begin(), lefts.end());
        // The full size where it finds a place, else smaller down to a legible least.
        std::optional<RectF> found;
        float size = kPlanTextSize;
        for (; !found && size >= kLeastTextSize; size = std::floor(size * 0.9f)) {
            const Font font{bitmap.font.family, size};
            const float tw = bitmap.text_width(texts[i], font);
            const float th = bitmap.text_height(texts[i], font);
            const float step = std::max(1.0f, th / 4);
            for (const float x : xs) {
                if (x + tw > page_width && x != at.x)
                    continue;
                for (float top = 0; top + th <= page_height; top += step) {
                    const RectF box{x, top, x + tw, top + th};
                    const bool nearer =
                        !found || std::fabs(top - at.y) < std::fabs(found->top - at.y);
                    if (nearer && free_at(box, placed))
                        found = box;
                }
            }
            if (found)
                break;
        }
        if (!found) {
            // Nowhere: the line keeps its place at full size on a cleared box.
            size = kPlanTextSize;
            const Font font{bitmap.font.family, size};
            found = RectF{at.x, at.y, at.x + bitmap.text_width(texts[i], font),
                          at.y + bitmap.text_height(texts[i], font)};
            bitmap.fill_rect(*found, 0xFFFFFFFFu, 1.0f);
        }
        placed.push_back(*found);
        grita.GraphText(bitmap, found->left, found->top, size, texts[i], kPlanBlack, true);
    }
}

}  // namespace

int page_bitmap_width(const PrinterPage& page) {
    return static_cast<int>(round_to_int(page.PW));
}

int page_bitmap_height(const PrinterPage& page) {
    return static_cast<int>(round_to_int(page.PH));
}

void show_page_window(Tgrita& grita, const PageWindow& w, const PrinterPage& page) {
    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(w.xmin, w.ymin, w.xmax, w.ymax);
    grita.SetViewport_BMP(page_bitmap_width(page), page_bitmap_height(page), 0, 0, 1, 1);
    grita.SetWindow_BMP(w.xmin, w.ymin, w.xmax, w.ymax, false);
}

void render_printed_page(PlankPlan& plan, int index, Tgrita& grita, Canvas& bitmap, bool marks) {
    const PlanPage& page = plan.layout.pages.at(static_cast<std::size_t>(index));
    show_page_window(grita, page.window, plan.page);
    bitmap.clear(kTransparent);
    if (marks) {
        PageDrawer d{grita, bitmap, plan.sizing.use_height};
        const auto mark_thickness = static_cast<float>(plan.sizing.DP_mm / 2);
        const auto text_size = static_cast<float>(std::max(10.0, 3.5 * plan.sizing.DP_mm));
        draw_scale_bar(plan, page, d, mark_thickness, text_size);
        draw_joining_marks(plan, page, d, mark_thickness, text_size);
    }
    draw_outline_and_axis(plan, grita, bitmap);
    // Last, so that a box cleared behind a line covers what it must.
    draw_page_texts(plan, page, grita, bitmap);
}

void render_preview_page(PlankPlan& plan, int j, Tgrita& grita, Canvas& bitmap) {
    show_page_window(grita, plan.layout.preview.at(static_cast<std::size_t>(j)), plan.page);
    bitmap.clear(kTransparent);
    draw_outline_and_axis(plan, grita, bitmap);
}

void paint_plan(PlankPlan& plan, Tgrita& grita) {
    if (!plan.calculated)
        return;
    const PlanSizing& s = plan.sizing;
    draw_spline(grita, plan.planspline, kPlanRed, s.use_height);
    if (s.use_height)
        grita.DrawLine(plan.turning_axis_y, s.XminX, plan.turning_axis_y, s.XmaxX, kPlanBlue);
    else
        grita.DrawLine(s.XminX, plan.turning_axis_y, s.XmaxX, plan.turning_axis_y, kPlanBlue);
}

}  // namespace ostrivane
