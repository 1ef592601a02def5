#include "core/toolpath/shading_model.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/text/error.h"
#include "support/error_of.h"
#include "support/file_fixtures.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {

TEST(ShadingModel, DotBrightnessOfTheDefaults) {
    const ShadingParams defaults;
    // Facing the viewer squarely on a flat profile: (0 + 870 + 2030) div 100.
    EXPECT_EQ(dot_brightness(defaults, 1, 1), 29);
    // At the silhouette: no diffuse light; h = -1 squares to 1, so the highlight is 870.
    EXPECT_EQ(dot_brightness(defaults, 0, 1), 8);
    // Half way: d = Round(29 * 0.5 * 70) = 1015; h = 2 * 0.25 - 1 = -0.5 -> 0.00390625,
    // p = Round(29 * 0.00390625 * 30) = 3; (0 + 3 + 1015) div 100 = 10.
    EXPECT_EQ(dot_brightness(defaults, 0.5, 1), 10);
    // The ambient share adds I * Ka before the division.
    EXPECT_EQ(dot_brightness({29, 10, 60, 3}, 0, 1), (290 + 870) / 100);
}

TEST(ShadingModel, LargeSharpnessEndsEarlyWithTheSameResult) {
    const ShadingParams sharp{29, 0, 70, 1000};
    const ShadingParams twelve{29, 0, 70, 12};
    for (double s : {0.0, 0.3, 0.7, 0.99, 1.0})
        EXPECT_EQ(dot_brightness(sharp, s, 0.9), dot_brightness(twelve, s, 0.9)) << s;
}

TEST(ShadingModel, ErrorDiffusionPicksTheColour) {
    struct Case {
        std::int64_t e;
        std::uint32_t colour;
        std::int64_t after;
    };
    const Case cases[] = {
        {29, 0xFFFFFFFFu, 0},   {23, 0xFFFFFFFFu, -6},  {22, 0xFFD3D3D3u, -7},
        {19, 0xFFD3D3D3u, -10}, {18, 0xFFA9A9A9u, -11}, {15, 0xFFA9A9A9u, -14},
        {14, kShadeBrown, 14},  {-3, kShadeBrown, -3},
    };
    for (const Case& c : cases) {
        std::int64_t e = c.e;
        EXPECT_EQ(dot_colour(e), c.colour) << c.e;
        EXPECT_EQ(e, c.after) << c.e;
    }
}

TEST(ShadingModel, ParameterFile) {
    EXPECT_EQ(parse_shading_params("40\r\n5\r\n60\r\n2\r\n"), (ShadingParams{40, 5, 60, 2}));
    EXPECT_EQ(parse_shading_params(" 40 \n5\n60\n2"), (ShadingParams{40, 5, 60, 2}));
    const auto error_of = [](std::string_view text) -> std::string {
        try {
            parse_shading_params(text);
        } catch (const Error& e) {
            return e.what();
        }
        return "(no error)";
    };
    EXPECT_EQ(error_of("29\r\n0\r\n7.5\r\n3\r\n"),
              "pelmo.gul, line 3: '7.5' is not a valid integer value");
    EXPECT_EQ(error_of("29\r\n0\r\n70\r\n"), "pelmo.gul ends before its value n");
    EXPECT_EQ(error_of("2000000000\r\n0\r\n70\r\n3\r\n"),
              "pelmo.gul, line 1: I must lie between 0 and 1000");
    EXPECT_EQ(error_of("29\r\n-1\r\n70\r\n3\r\n"),
              "pelmo.gul, line 2: Ka must lie between 0 and 1000");

    test::TempDir data;
    EXPECT_EQ(read_shading_params(data.path()), ShadingParams{});
    std::ofstream(data / "pelmo.gul") << "31\r\n0\r\n50\r\n4\r\n";
    EXPECT_EQ(read_shading_params(data.path()), (ShadingParams{31, 0, 50, 4}));
}

TEST(ShadingModel, WhatIsNoParameterFileIsRefusedUnread) {
    test::TempDir data;
    test::for_each_hostile_file(
        data / "pelmo.gul", 1 << 16, "a shading parameter file",
        [&](std::string_view kind, const std::string& message) {
            SCOPED_TRACE(kind);
            EXPECT_EQ(test::error_of([&] { read_shading_params(data.path()); }), message);
        });
}

}  // namespace
}  // namespace ostrivane
