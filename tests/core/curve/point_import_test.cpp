#include "core/curve/point_import.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text/error.h"
#include "curve_fixture.h"

namespace ostrivane {
namespace {

using XY = std::pair<double, double>;

class PointImportTest : public ::testing::Test {
  protected:
    std::vector<XY> points() const {
        std::vector<XY> out;
        for (int k = 0; k < set.Nopoints; ++k)
            out.emplace_back(set.X.Tomatch[k], set.Y.Tomatch[k]);
        return out;
    }
    std::string error_of(std::string_view text) {
        try {
            import_points(text, set);
        } catch (const Error& e) {
            return e.what();
        }
        return "";
    }

    test::PlotFixture plot;
    TBetaSPLpoints set{plot.grita};
};

TEST_F(PointImportTest, ReadsXSemicolonYLinesAndSkipsTheRest) {
    import_points("10;5\r\nno separator here\r\n\t 20 ; 7 \r\n-3.5e1;.5", set);
    EXPECT_EQ(points(), (std::vector<XY>{{-35, 0.5}, {10, 5}, {20, 7}}));
    EXPECT_TRUE(plot.messages.empty());
    // Again: every point is already there.
    import_points("10;5\n20 ; 7\n", set);
    EXPECT_EQ(set.Nopoints, 3);
    EXPECT_EQ(plot.texts(), std::vector<std::string>(2, "Double points are not allowed !!!"));
}

TEST_F(PointImportTest, ATextThatIsNoNumberStopsTheImportKeepingWhatCameBefore) {
    struct Case {
        std::string text;
        std::string error;
        int points;
    };
    const Case cases[] = {
        {"1;1\n1,5;2\n3;3", "'1,5' is not a valid floating point value", 1},
        {"1;2;3", "'2;3' is not a valid floating point value", 0},
        {"4;\n", "'' is not a valid floating point value", 0},
        {"x;y\n1;2", "'x' is not a valid floating point value", 0},
    };
    for (const Case& c : cases) {
        set.destroy_points(-1e9, -1e9, 1e9, 1e9);
        EXPECT_EQ(error_of(c.text), c.error) << c.text;
        EXPECT_EQ(set.Nopoints, c.points) << c.text;
    }
}

TEST_F(PointImportTest, StopsAddingAtAThousandPointsButReadsOn) {
    std::string text;
    for (int k = 0; k < 1005; ++k)
        text += std::to_string(k) + ";1\n";
    text += "bad;1\n";
    EXPECT_EQ(error_of(text), "'bad' is not a valid floating point value");
    EXPECT_EQ(set.Nopoints, 1000);
    EXPECT_EQ(set.X.Tomatch[999], 999);
    EXPECT_TRUE(plot.messages.empty());
}

}  // namespace
}  // namespace ostrivane
