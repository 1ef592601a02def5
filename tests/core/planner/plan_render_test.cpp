#include <gtest/gtest.h>

#include <algorithm>

#include "core/planner/plan_render.h"
#include "core/plot/tgrita.h"
#include "planner_fixture.h"
#include "support/near.h"
#include "support/recording_canvas.h"

namespace ostrivane {
namespace {

using Kind = CanvasCall::Kind;

struct RenderCase {
    explicit RenderCase(const std::vector<ShapePoint>& points, int entry = 1, PrinterPage page = {})
        : pc(points) {
        pc.run(entry, page);
    }
    std::vector<CanvasCall> printed(int index, bool marks) {
        RecordingCanvas bitmap(page_bitmap_width(pc.plan.page), page_bitmap_height(pc.plan.page));
        render_printed_page(pc.plan, index, grita, bitmap, marks);
        return bitmap.calls;
    }
    test::PlanCase pc;
    RecordingCanvas screen{600, 600};
    Tgrita grita{screen, nullptr, true};
};

std::vector<CanvasCall> of_kind(const std::vector<CanvasCall>& calls, Kind kind) {
    std::vector<CanvasCall> out;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
                 [&](const CanvasCall& c) { return c.kind == kind; });
    return out;
}

// Whether a text's box meets a line or an outline of the page (sampled finely along each).
bool crosses_template(const RectF& box, const std::vector<CanvasCall>& calls) {
    const auto inside = [&](PointF p) {
        return p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom;
    };
    for (const CanvasCall& c : calls) {
        if (c.kind != Kind::Line && c.kind != Kind::Path)
            continue;
        for (std::size_t i = 1; i < c.points.size(); ++i) {
            for (int s = 0; s <= 100; ++s) {
                const float f = static_cast<float>(s) / 100;
                const PointF a = c.points[i - 1];
                const PointF b = c.points[i];
                if (inside({a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)}))
                    return true;
            }
        }
    }
    return false;
}

TEST(PlanRender, CaptionsMoveOffTheTemplateOrClearABoxWhereTheyCannot) {
    struct Case {
        const char* what;
        std::vector<ShapePoint> points;
        PrinterPage page;
        int index;  // the printed page looked at
        bool cleared;
    };
    const Case cases[] = {
        // Along a landscape page: the axis line lies a third up the page, where a line would go.
        {"landscape, axis at a third",
         {{0, 40}, {50, 90}, {100, 40}},
         {1169, 827, 100, 100},
         0,
         false},
        // Up a page, beside the axis where the template leaves room.
        {"beside the axis", test::line_points(0, 65, 600, 65, 7), {827, 1169, 100, 100}, 1, false},
        // A template filling the page from top to bottom and nearly across: no place is free.
        {"filled page", test::line_points(0, -60, 600, -60, 7), {827, 1169, 100, 100}, 1, true},
    };
    for (const Case& c : cases) {
        RenderCase r(c.points, 1, c.page);
        ASSERT_GT(r.pc.plan.layout.P, c.index) << c.what;
        const auto calls = r.printed(c.index, false);
        const auto texts = of_kind(calls, Kind::Text);
        const auto boxes = of_kind(calls, Kind::FillRect);
        ASSERT_EQ(texts.size(), 3u) << c.what;
        if (c.cleared) {
            // Each line keeps its place on a white box drawn over the template.
            ASSERT_EQ(boxes.size(), 3u) << c.what;
            for (std::size_t i = 0; i < 3; ++i) {
                EXPECT_EQ(boxes[i].color, 0xFFFFFFFFu);
                EXPECT_EQ(boxes[i].rect, texts[i].rect);
            }
        } else {
            EXPECT_TRUE(boxes.empty()) << c.what;
            for (const CanvasCall& t : texts)
                EXPECT_FALSE(crosses_template(t.rect, calls)) << c.what << ": " << t.text;
        }
    }
}

TEST(PlanRender, APageHoldsItsTextsTheOutlineAndTheAxisAtFullScale) {
    RenderCase r(test::line_points(0, 65, 150, 65, 5));
    const PlankPlan& plan = r.pc.plan;
    ASSERT_EQ(plan.layout.P, 1);
    const auto calls = r.printed(0, false);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().kind, Kind::Clear);
    EXPECT_EQ(calls.front().color, 0u);
    const auto texts = of_kind(calls, Kind::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, plan.texts(1)[0]);
    EXPECT_EQ(texts[0].font.size, kPlanTextSize);
    EXPECT_EQ(texts[0].color, kPlanBlack);
    // The lines stand on the page, clear of the template's lines and of each other.
    for (const CanvasCall& t : texts) {
        EXPECT_GE(t.rect.left, 0);
        EXPECT_FALSE(crosses_template(t.rect, calls)) << t.text;
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            const RectF& a = texts[i].rect;
            const RectF& b = texts[j].rect;
            EXPECT_TRUE(a.bottom <= b.top || b.bottom <= a.top) << i << " and " << j << " overlap";
        }
    }
    EXPECT_TRUE(of_kind(calls, Kind::FillRect).empty());
    // The template runs up the page (use_height): the axis line is vertical and as long as the
    // template at one dot per 1/DP_mm millimetre.
    ASSERT_TRUE(plan.sizing.use_height);
    const auto lines = of_kind(calls, Kind::Line);
    ASSERT_EQ(lines.size(), 1u);
    const CanvasCall& axis = lines[0];
    EXPECT_EQ(axis.pen.color, kPlanBlue);
    EXPECT_FLOAT_EQ(axis.pen.thickness, static_cast<float>(plan.sizing.DP_mm));
    EXPECT_NEAR(axis.points[0].x, axis.points[1].x, 1e-3);
    EXPECT_NEAR(std::fabs(axis.points[0].y - axis.points[1].y),
                plan.sizing.SizeX * plan.sizing.DP_mm, 1e-3);
    const auto paths = of_kind(calls, Kind::Path);
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths[0].pen.color, kPlanBlue);
}

TEST(PlanRender, WithoutAPlankThePlankLineIsLeftOut) {
    RenderCase r(test::line_points(0, 65, 150, 65, 5), 0);
    const auto texts = of_kind(r.printed(0, false), Kind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text.rfind("Ostrivane output: ", 0), 0u);
}

TEST(PlanRender, MarksShowTheScaleAndWherePagesJoin) {
    // 600 mm long: three pages along the page height.
    RenderCase r(test::line_points(0, 65, 600, 65, 7));
    const PlankPlan& plan = r.pc.plan;
    ASSERT_EQ(plan.layout.P, 3);
    const auto plain = r.printed(1, false);
    const auto marked = r.printed(1, true);
    const auto black = [](const std::vector<CanvasCall>& calls) {
        std::vector<CanvasCall> out;
        for (const CanvasCall& c : of_kind(calls, Kind::Line)) {
            if (c.pen.color == kPlanBlack)
                out.push_back(c);
        }
        return out;
    };
    EXPECT_TRUE(black(plain).empty());
    // Bar with two end ticks, and on a middle page two joins of two marks each.
    const auto marks = black(marked);
    ASSERT_EQ(marks.size(), 3u + 4u);
    const CanvasCall& bar = marks[0];
    const double bar_dots =
        std::hypot(bar.points[1].x - bar.points[0].x, bar.points[1].y - bar.points[0].y);
    EXPECT_NEAR(bar_dots, 100 * plan.sizing.DP_mm, 0.01);
    std::vector<std::string> labels;
    for (const CanvasCall& t : of_kind(marked, Kind::Text))
        labels.push_back(t.text);
    EXPECT_NE(std::find(labels.begin(), labels.end(), "100 mm"), labels.end());
    // Printed page 2 holds the middle part; its neighbours are pages 1 and 3.
    EXPECT_NE(std::find(labels.begin(), labels.end(), "join to page 1"), labels.end());
    EXPECT_NE(std::find(labels.begin(), labels.end(), "join to page 3"), labels.end());
    // The joins lie on the page's edges, inset by half a mark.
    const float height = static_cast<float>(page_bitmap_height(plan.page));
    int at_top = 0;
    int at_bottom = 0;
    for (std::size_t i = 3; i < marks.size(); ++i) {
        const float y = marks[i].points[0].y;
        EXPECT_EQ(y, marks[i].points[1].y);
        at_top += std::fabs(y - marks[i].pen.thickness / 2) < 0.01;
        at_bottom += std::fabs(y - (height - marks[i].pen.thickness / 2)) < 0.01;
    }
    EXPECT_EQ(at_top, 2);
    EXPECT_EQ(at_bottom, 2);
    // The first and last printed pages join on one side only.
    EXPECT_EQ(black(r.printed(0, true)).size(), 3u + 2u);
    EXPECT_EQ(black(r.printed(2, true)).size(), 3u + 2u);
}

TEST(PlanRender, ScaleBarNamesTheTemplateLengthItStandsFor) {
    // Higher than both page sides: printed at 1:2.
    RenderCase r(test::line_points(0, -250, 100, -250, 5));
    ASSERT_EQ(r.pc.plan.sizing.scale, 2);
    std::vector<std::string> labels;
    for (const CanvasCall& t : of_kind(r.printed(0, true), Kind::Text))
        labels.push_back(t.text);
    EXPECT_NE(std::find(labels.begin(), labels.end(), "100 mm = 200 mm at 1:2"), labels.end());
}

TEST(PlanRender, PreviewShowsTheTemplateFromItsStart) {
    RenderCase r(test::line_points(0, 65, 600, 65, 7));
    PlankPlan& plan = r.pc.plan;
    RecordingCanvas bitmap(page_bitmap_width(plan.page), page_bitmap_height(plan.page));
    render_preview_page(plan, 0, r.grita, bitmap);
    EXPECT_TRUE(of_kind(bitmap.calls, Kind::Text).empty());
    // The bitmap shows preview window 0 exactly; the screen may widen it to its own shape.
    const PageWindow& w = plan.layout.preview[0];
    const PointF corner = {
        static_cast<float>(w.xmin * r.grita.grbounds_BMP.AX + r.grita.grbounds_BMP.BX),
        static_cast<float>(w.ymax * r.grita.grbounds_BMP.AY + r.grita.grbounds_BMP.BY)};
    EXPECT_NEAR(corner.x, 0, 1e-3);
    EXPECT_NEAR(corner.y, 0, 1e-3);
    double xmin = 0;
    double xmax = 0;
    r.grita.GetboundsY(xmin, xmax);
    EXPECT_LE(xmin, w.ymin + 1e-9);
    EXPECT_GE(xmax, w.ymax - 1e-9);
}

}  // namespace
}  // namespace ostrivane
