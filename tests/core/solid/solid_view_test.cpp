#include "core/solid/solid_view.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/solid/piece.h"

namespace ostrivane {
namespace {

std::size_t painted(const SolidImage& image) {
    return static_cast<std::size_t>(
        std::count_if(image.pixels.begin(), image.pixels.end(),
                      [](std::uint32_t p) { return p != kSolidBackground; }));
}

TEST(SolidView, DrawsThePieceShadedAndTurnsIt) {
    // A cone: its wide end shows on the right from the side.
    SolidView view(turned_piece({{0, 5}, {100, 30}}, 0.05));
    SolidCamera side;
    side.yaw = 0;
    side.pitch = 0;
    const SolidImage& a = view.draw(side, 200, 120);
    ASSERT_EQ(a.pixels.size(), 200u * 120u);
    const auto column = [&a](int x) {
        int n = 0;
        for (int y = 0; y < a.height; ++y)
            n += a.pixels[static_cast<std::size_t>(y) * a.width + x] != kSolidBackground;
        return n;
    };
    EXPECT_GT(column(130), 2 * column(70));
    EXPECT_GT(column(70), 0);
    const std::size_t side_area = painted(a);
    // Shaded: many tones, not one flat colour.
    std::vector<std::uint32_t> tones(a.pixels.begin(), a.pixels.end());
    std::sort(tones.begin(), tones.end());
    EXPECT_GT(std::unique(tones.begin(), tones.end()) - tones.begin(), 20);
    // Seen along its axis only its wide end shows: a disc, smaller than the side.
    SolidCamera end = side;
    end.yaw = 90;
    EXPECT_LT(painted(view.draw(end, 200, 120)), side_area);
    // Zoomed in it fills more of the picture; panned away it leaves it.
    SolidCamera near = side;
    near.zoom = 2;
    EXPECT_GT(painted(view.draw(near, 200, 120)), side_area);
    SolidCamera away = side;
    away.pan_x = 1000;
    EXPECT_EQ(painted(view.draw(away, 200, 120)), 0u);
}

TEST(SolidView, ShowsTheColoursOfTheSurface) {
    std::vector<Station> s{{0, 20, 0xFFFF0000}, {50, 20}, {100, 20}};
    SolidView view(turned_piece(s, 0.05));
    SolidCamera side;
    const SolidImage& image = view.draw(side, 200, 120);
    const auto reddish = std::count_if(image.pixels.begin(), image.pixels.end(), [](auto p) {
        return ((p >> 16) & 0xFF) > 2 * ((p >> 8) & 0xFF) + 20;
    });
    EXPECT_GT(reddish, 200);
}

}  // namespace
}  // namespace ostrivane
