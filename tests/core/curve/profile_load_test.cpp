#include "core/curve/profile_load.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/curve/spline_file.h"
#include "curve_fixture.h"

namespace ostrivane {
namespace {

// A spline file whose profile holds `count` points, with one part and two moves.
std::string file_of(int count) {
    SplineDocument document;
    for (int k = 0; k < count; ++k)
        document.profile.points.push_back({double(k), double(k % 10), 1, 1});
    document.profile.parts.push_back({2, 5});
    document.moves.Movecount = 2;
    document.moves.Movements[1] = {1, 2};
    document.moves.Movements[2] = {3, 4};
    return write_spline_file(document);
}

TEST(ProfileLoad, KeepsTheFirstPointsOfALongProfileAndSaysWhatItDropped) {
    test::PlotFixture plot;
    TBetaSPLpoints profile{plot.grita}, spline2{plot.grita};
    RecordedMoves moves;
    const ProfileLoad load = load_profile(file_of(1200), profile, spline2, moves, plot.grita);
    EXPECT_EQ(load.version, kSplineFileVersion);
    EXPECT_EQ(load.damaged_sections, 0);
    EXPECT_EQ(load.dropped, 200);
    EXPECT_EQ(profile.Nopoints, kEditorPointLimit);
    EXPECT_EQ(profile.NoParts, 1);
    EXPECT_EQ(moves.Movecount, 2);
    EXPECT_EQ(plot.texts(), std::vector<std::string>{
                                "The profile in the spline file holds 1200 points; the editor "
                                "keeps the first 1000 and dropped 200"});
}

TEST(ProfileLoad, TheProfileAloneIsLoadedAsTheEditorLoadsIt) {
    for (const int count : {3, 1000, 1001}) {
        test::PlotFixture editor_plot, plan_plot;
        TBetaSPLpoints editor_profile{editor_plot.grita}, spline2{editor_plot.grita};
        RecordedMoves moves;
        load_profile(file_of(count), editor_profile, spline2, moves, editor_plot.grita);
        TBetaSPLpoints plan_profile{plan_plot.grita};
        const ProfileLoad load = load_profile(file_of(count), plan_profile, plan_plot.grita);
        EXPECT_EQ(plan_profile.shape().points, editor_profile.shape().points) << count;
        EXPECT_EQ(plan_profile.NoParts, 1) << count;
        EXPECT_EQ(load.dropped, count > 1000 ? 1 : 0) << count;
        EXPECT_EQ(plan_plot.texts(), editor_plot.texts()) << count;
    }
}

TEST(ProfileLoad, CountsTheSectionsThatCannotBeRead) {
    struct Case {
        const char* name;
        std::string bytes;
        std::optional<std::uint16_t> version;
        int damaged;
    };
    const std::string whole = file_of(3);
    const std::vector<Case> cases = {
        {"whole", whole, kSplineFileVersion, 0},
        {"moves cut short", whole.substr(0, whole.size() - 20), kSplineFileVersion, 1},
        {"only the version", whole.substr(0, 2), kSplineFileVersion, 4},
        {"another version", std::string("\x01\x00", 2) + whole.substr(2), 1, 0},
        {"no version", whole.substr(0, 1), std::nullopt, 0},
    };
    for (const Case& c : cases) {
        test::PlotFixture plot;
        TBetaSPLpoints profile{plot.grita};
        const ProfileLoad load = load_profile(c.bytes, profile, plot.grita);
        EXPECT_EQ(load.version, c.version) << c.name;
        EXPECT_EQ(load.damaged_sections, c.damaged) << c.name;
        EXPECT_EQ(static_cast<int>(plot.texts().size()), c.damaged) << c.name;
    }
}

}  // namespace
}  // namespace ostrivane
