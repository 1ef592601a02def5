#include "core/curve/point_import.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text/error.h"
#include "curve_fixture.h"
#include "support/error_of.h"

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
        return test::error_of([&] { import_points(text, set); });
    }

    test::PlotFixture plot;
    TBetaSPLpoints set{plot.grita};
};

TEST_F(PointImportTest, ReadsXSemicolonYLinesAndSkipsTheRest) {
    import_points("10;5\r\nno separator here\r\n\t 20 ; 7 \r\n-3.5e1;.5", set);
    EXPECT_EQ(points(), (std::vector<XY>{{-35, 0.5}, {10, 5}, {20, 7}}));
    EXPECT_TRUE(plot.messages.empty());
    // Again: every point is already there, told once with their number.
    import_points("10;5\n20 ; 7\n", set);
    EXPECT_EQ(set.Nopoints, 3);
    EXPECT_EQ(plot.texts(),
              std::vector<std::string>{"Double points are not allowed !!! (2 points at an x "
                                       "already taken were left out)"});
    plot.messages.clear();
    import_points("10;6\n", set);
    EXPECT_EQ(plot.texts(), std::vector<std::string>{"Double points are not allowed !!!"});
}

TEST_F(PointImportTest, AMillionLinesOfOnePointGiveOnePointAndOneMessage) {
    std::string text;
    for (int k = 0; k < 1'000'000; ++k)
        text += "5;5\n";
    EXPECT_EQ(import_points(text, set), 0);
    EXPECT_EQ(set.Nopoints, 1);
    EXPECT_EQ(plot.texts(),
              std::vector<std::string>{"Double points are not allowed !!! (999999 points at an x "
                                       "already taken were left out)"});
}

TEST_F(PointImportTest, ATextThatIsNoNumberStopsTheImportKeepingWhatCameBefore) {
    struct Case {
        std::string text;
        std::string error;
        int points;
    };
    const Case cases[] = {
        {"1;1\n1,5;2\n3;3", "Line 2: '1,5' is not a valid floating point value", 1},
        {"1;2;3", "Line 1: '2;3' is not a valid floating point value", 0},
        {"4;\n", "Line 1: '' is not a valid floating point value", 0},
        {"x;y\n1;2", "Line 1: 'x' is not a valid floating point value", 0},
        // The working range of every import, a drawing's too.
        {"1;1\n100000;-100000\n100000.001;0\n",
         "Line 3: '100000.001' lies beyond the working range of ±100000 mm", 2},
        {"1;1e308", "Line 1: '1e308' lies beyond the working range of ±100000 mm", 0},
        // A damaged file: the bad text is shown shortened, control bytes escaped.
        {"0;0\n\n1;7\x01" + std::string(10'000'000, '7') + "x",
         "Line 3: '7\\x0177777777777777777777777777777777777777...' is not a valid floating "
         "point value",
         1},
    };
    for (const Case& c : cases) {
        set.destroy_points(-1e9, -1e9, 1e9, 1e9);
        const std::string shown = c.text.substr(0, 40);
        EXPECT_EQ(error_of(c.text), c.error) << shown;
        EXPECT_EQ(set.Nopoints, c.points) << shown;
    }
}

TEST_F(PointImportTest, StopsAddingAtAThousandPointsButReadsOnAndSaysHowManyItSkipped) {
    std::string text;
    for (int k = 0; k < 1005; ++k)
        text += std::to_string(k) + ";1\n";
    EXPECT_EQ(import_points(text, set), 5);
    EXPECT_EQ(set.Nopoints, 1000);
    EXPECT_EQ(set.X.Tomatch[999], 999);
    EXPECT_EQ(plot.texts(),
              std::vector<std::string>{
                  "5 points were skipped: the profile holds at most 1000 imported points"});
    // The count is told even when a bad line ends the import.
    plot.messages.clear();
    EXPECT_EQ(error_of("2000;1\nbad;1\n"), "Line 2: 'bad' is not a valid floating point value");
    EXPECT_EQ(plot.texts(),
              std::vector<std::string>{
                  "1 point was skipped: the profile holds at most 1000 imported points"});
}

}  // namespace
}  // namespace ostrivane
