#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "core/planner/plan_json.h"
#include "planner_fixture.h"

namespace ostrivane {
namespace {

TEST(PlanJson, HoldsThePlanInFullPrecision) {
    test::PlanCase pc(test::line_points(0, 62.5, 400, 71, 9));
    const PlankPlan& plan = pc.run(2);
    const std::string text = plan_json(plan);
    EXPECT_EQ(text.rfind("{\"plank_list\":{\"D\":", 0), 0u);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    const auto json = nlohmann::json::parse(text);
    EXPECT_EQ(json["plank_list"]["D"].get<double>(), plan.list.D);
    EXPECT_EQ(json["plank_list"]["N"].get<int>(), plan.list.N);
    EXPECT_EQ(json["plank_list"]["entries"].get<std::vector<std::string>>(), plan.list.entries);
    EXPECT_EQ(json["plank"]["entry"], 2);
    EXPECT_EQ(json["plank"]["k"], 1);
    EXPECT_EQ(json["plank"]["c"].get<double>(), plan.plank.c);
    const auto& outline = json["outline"];
    ASSERT_EQ(outline.size(), static_cast<std::size_t>(plan.planspline.Nopoints));
    for (int k = 0; k < plan.planspline.Nopoints; ++k) {
        EXPECT_EQ(outline[k][0].get<double>(), plan.planspline.X.Tomatch[k]);
        EXPECT_EQ(outline[k][1].get<double>(), plan.planspline.Y.Tomatch[k]);
    }
    const auto& s = json["sizing"];
    EXPECT_EQ(s["SizeX"].get<double>(), plan.sizing.SizeX);
    EXPECT_EQ(s["SizeY"].get<double>(), plan.sizing.SizeY);
    EXPECT_EQ(s["DP_mm"].get<double>(), plan.sizing.DP_mm);
    EXPECT_EQ(s["scale"].get<double>(), plan.sizing.scale);
    EXPECT_EQ(s["use_height"].get<bool>(), plan.sizing.use_height);
    EXPECT_EQ(s["use_width"].get<bool>(), plan.sizing.use_width);
    ASSERT_EQ(json["pages"].size(), static_cast<std::size_t>(plan.layout.P));
    ASSERT_EQ(json["preview"].size(), static_cast<std::size_t>(plan.layout.P));
    for (int q = 1; q <= plan.layout.P; ++q) {
        const auto& page = json["pages"][q - 1];
        EXPECT_EQ(page["q"], q);
        const PageWindow& w = plan.layout.pages[static_cast<std::size_t>(q - 1)].window;
        EXPECT_EQ(page["window"].get<std::vector<double>>(),
                  (std::vector<double>{w.xmin, w.ymin, w.xmax, w.ymax}));
        EXPECT_EQ(page["texts"].get<std::vector<std::string>>(), plan.texts(q));
        EXPECT_EQ(json["preview"][q - 1]["j"], q - 1);
    }
}

TEST(PlanJson, EscapesTextsFromFields) {
    EXPECT_EQ(json_string("a \"b\" \\ c\n"), "\"a \\\"b\\\" \\\\ c\\n\"");
    EXPECT_EQ(json_string("Kärvik"), "\"Kärvik\"");
    EXPECT_EQ(json_string("K\xE4rvik"), "\"Kärvik\"");  // a name typed in Latin-1
}

}  // namespace
}  // namespace ostrivane
