#include <gtest/gtest.h>

#include <cmath>

#include "core/planner/page_layout.h"
#include "core/text/error.h"
#include "planner_fixture.h"
#include "support/near.h"

namespace ostrivane {
namespace {

PlanSizing sizing(double SizeX, double scale, bool use_height) {
    PlanSizing s;
    s.SizeX = SizeX;
    s.SizeWidth = 827 * 25.4 / 100;
    s.SizeHeight = 1169 * 25.4 / 100;
    s.DP_mm = 827 / s.SizeWidth;
    s.scale = scale;
    s.use_height = use_height;
    s.use_width = !use_height;
    s.XminX = 0.01;
    s.XmaxX = 0.01 + SizeX;
    s.y_low = 40;
    return s;
}

TEST(PageLayout, PagesMeetWithoutAGapAndCoverTheTemplate) {
    const PrinterPage page;
    for (const bool use_height : {false, true}) {
        for (const double scale : {1.0, 3.0}) {
            SCOPED_TRACE((use_height ? "use_height, scale " : "use_width, scale ") +
                         std::to_string(scale));
            const PlanSizing s = sizing(1000, scale, use_height);
            const PlanLayout layout = layout_pages(s, page, 10);
            ASSERT_EQ(layout.P, static_cast<int>(std::ceil(1000 / scale / layout.L)));
            ASSERT_EQ(layout.pages.size(), static_cast<std::size_t>(layout.P));
            // In template order each part starts exactly where the one before ended.
            std::vector<const PlanPage*> by_segment(layout.P);
            for (const PlanPage& p : layout.pages)
                by_segment.at(static_cast<std::size_t>(p.segment)) = &p;
            EXPECT_EQ(by_segment.front()->x_from, s.XminX);
            for (int j = 1; j < layout.P; ++j)
                EXPECT_EQ(by_segment[j]->x_from, by_segment[j - 1]->x_to);
            EXPECT_GE(by_segment.back()->x_to, s.XmaxX);
            for (const PlanPage& p : layout.pages) {
                const PageWindow& w = p.window;
                // Along the template, the window is the page's part; across, it keeps the
                // paper's proportions and starts half the extra margin below the outline.
                const double along_from = use_height ? w.ymin : w.xmin;
                const double along_to = use_height ? w.ymax : w.xmax;
                EXPECT_EQ(along_from, p.x_from);
                EXPECT_EQ(along_to, p.x_to);
                const double across = use_height ? w.xmax - w.xmin : w.ymax - w.ymin;
                const double ratio = use_height ? page.PW / page.PH : page.PH / page.PW;
                EXPECT_TRUE(test::near(across, layout.W * ratio, 1e-9));
                EXPECT_EQ(use_height ? w.xmin : w.ymin, 35);
                EXPECT_TRUE(test::near(layout.W, layout.L * scale, 1e-12));
            }
        }
    }
}

TEST(PageLayout, PrintsUseHeightPagesFromTheFarEndButPreviewsFromTheStart) {
    const PlanSizing s = sizing(700, 1, true);
    const PlanLayout layout = layout_pages(s, PrinterPage{}, 10);
    ASSERT_EQ(layout.P, 3);
    EXPECT_EQ(layout.pages[0].segment, 2);
    EXPECT_EQ(layout.pages[2].segment, 0);
    EXPECT_EQ(layout.preview[0], layout.pages[2].window);
    EXPECT_EQ(layout.preview[2], layout.pages[0].window);
    const PlanLayout forward = layout_pages(sizing(700, 1, false), PrinterPage{}, 10);
    for (int q = 0; q < forward.P; ++q)
        EXPECT_EQ(forward.pages[static_cast<std::size_t>(q)].window,
                  forward.preview[static_cast<std::size_t>(q)]);
}

TEST(PageLayout, NeverPrintsAnEmptyLastPage) {
    // A template exactly three page lengths long.
    PlanSizing exact = sizing(0, 1, false);
    exact.SizeX = 3 * exact.SizeWidth;
    EXPECT_EQ(layout_pages(exact, PrinterPage{}, 10).P, 3);
    exact.scale = 2;
    exact.SizeX = 2 * exact.SizeWidth * 2;
    EXPECT_EQ(layout_pages(exact, PrinterPage{}, 10).P, 2);
    exact.SizeX += 0.01;
    EXPECT_EQ(layout_pages(exact, PrinterPage{}, 10).P, 3);
    EXPECT_EQ(layout_pages(sizing(0, 1, false), PrinterPage{}, 10).P, 1);
    EXPECT_EQ(layout_pages(sizing(5, 1, false), PrinterPage{}, 10).P, 1);
    EXPECT_THROW(layout_pages(sizing(3e6, 1, false), PrinterPage{}, 10), Error);
}

TEST(PageTexts, SayWhatIsPrintedAndAtWhatScale) {
    PageCaption c;
    c.plank = "2 times plank2";
    c.thickness_text = "18";
    c.margin_text = "10.5";
    c.name = "Karvik";
    c.date = "07/03/2025";
    c.scale = 2;
    c.turning_axis_y = 112.5;
    EXPECT_EQ(page_texts(3, c),
              (std::vector<std::string>{"Page: 3 ,Plank: 2 times plank2 . Plank Thickness: 18",
                                        "Ostrivane output: 07/03/2025 ,Scale: 1:2 ,Name: Karvik",
                                        "turn axis distance: 112.5 ,Diameter margin: 10.5"}));
    c.plank.reset();
    EXPECT_EQ(page_texts(1, c).size(), 2u);
    EXPECT_EQ(page_texts(1, c).front(), "Ostrivane output: 07/03/2025 ,Scale: 1:2 ,Name: Karvik");
}

TEST(PageTexts, DateIsDayMonthYear) {
    const std::string date = short_date_today();
    ASSERT_EQ(date.size(), 10u);
    EXPECT_EQ(date[2], '/');
    EXPECT_EQ(date[5], '/');
    const int day = std::stoi(date.substr(0, 2));
    const int month = std::stoi(date.substr(3, 2));
    EXPECT_TRUE(day >= 1 && day <= 31);
    EXPECT_TRUE(month >= 1 && month <= 12);
    EXPECT_GE(std::stoi(date.substr(6)), 2024);
}

}  // namespace
}  // namespace ostrivane
