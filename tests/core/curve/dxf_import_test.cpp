#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/curve/dxf_profile.h"
#include "core/curve/point_import.h"
#include "curve_fixture.h"
#include "support/error_of.h"

namespace ostrivane {
namespace {

using XY = std::pair<double, double>;

// A DXF text from group pairs, one code and one value per line each, in an ENTITIES section
// after a header that gives the drawing's units (none: no header).
std::string dxf(const std::vector<std::pair<int, std::string>>& entities, int units = -1) {
    std::string text;
    const auto group = [&](int code, const std::string& value) {
        text += std::to_string(code) + "\n" + value + "\n";
    };
    if (units >= 0) {
        group(0, "SECTION");
        group(2, "HEADER");
        group(9, "$INSUNITS");
        group(70, std::to_string(units));
        group(0, "ENDSEC");
    }
    group(0, "SECTION");
    group(2, "ENTITIES");
    for (const auto& [code, value] : entities)
        group(code, value);
    group(0, "ENDSEC");
    group(0, "EOF");
    return text;
}

std::vector<std::pair<int, std::string>> xy(int x_code, const std::vector<XY>& points) {
    std::vector<std::pair<int, std::string>> groups;
    for (const auto& [x, y] : points) {
        groups.emplace_back(x_code, std::to_string(x));
        groups.emplace_back(x_code + 10, std::to_string(y));
    }
    return groups;
}

std::vector<std::pair<int, std::string>> operator+(
    std::vector<std::pair<int, std::string>> a, const std::vector<std::pair<int, std::string>>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<XY> points_of(const DxfProfile& p) {
    std::vector<XY> out;
    for (const CurvePoint& q : p.points)
        out.emplace_back(q.x, q.y);
    return out;
}

TEST(DxfProfileTest, TakesTheFirstPolylineOrSplineElseTheChainOfLines) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<XY> points;
        std::string source;
    };
    const auto lw = [](int flags, const std::vector<XY>& p) {
        return std::vector<std::pair<int, std::string>>{
                   {0, "LWPOLYLINE"}, {8, "0"}, {70, std::to_string(flags)}} +
               xy(10, p);
    };
    const auto line = [](XY a, XY b) {
        return std::vector<std::pair<int, std::string>>{{0, "LINE"}} + xy(10, {a}) + xy(11, {b});
    };
    const std::vector<XY> open = {{0, 40}, {10, 45}, {30, 42}};
    const Case cases[] = {
        {"open LWPOLYLINE in mm, after a LINE", dxf(line({0, 0}, {1, 1}) + lw(0, open), 4), open,
         "LWPOLYLINE at line 25"},
        {"inches",
         dxf(lw(0, {{0, 1}, {2, 1.5}}), 1),
         {{0, 25.4}, {50.8, 1.5 * 25.4}},
         "LWPOLYLINE at line 15"},
        {"closed: the upper side, leftmost to rightmost",
         dxf(lw(1, {{0, 90}, {10, 85}, {20, 92}, {20, 108}, {10, 115}, {0, 110}})),
         {{0, 110}, {10, 115}, {20, 108}},
         "LWPOLYLINE at line 5 (its upper half)"},
        {"POLYLINE with VERTEX entities up to SEQEND",
         dxf({{0, "POLYLINE"},
              {66, "1"},
              {70, "0"},
              {0, "VERTEX"},
              {10, "1"},
              {20, "2"},
              {0, "VERTEX"},
              {70, "16"},
              {10, "9"},
              {20, "9"},  // a spline frame point: skipped
              {0, "VERTEX"},
              {10, "3"},
              {20, "4"},
              {0, "SEQEND"}},
             6),
         {{1000, 2000}, {3000, 4000}},
         "POLYLINE at line 15"},
        {"SPLINE fit points before its control points",
         dxf(std::vector<std::pair<int, std::string>>{{0, "SPLINE"}, {70, "8"}} +
             xy(10, {{0, 0}, {5, 9}}) + xy(11, {{0, 1}, {4, 2}, {8, 1}})),
         {{0, 1}, {4, 2}, {8, 1}},
         "SPLINE at line 5"},
        {"SPLINE control points",
         dxf(std::vector<std::pair<int, std::string>>{{0, "SPLINE"}} + xy(10, {{0, 0}, {5, 9}})),
         {{0, 0}, {5, 9}},
         "SPLINE at line 5"},
        {"LINEs joined either way round, a stray one left out",
         dxf(line({10, 1}, {20, 2}) + line({50, 50}, {60, 60}) + line({0, 0}, {10, 1}) +
                 line({30, 3}, {20, 2}),
             5),
         {{0, 0}, {100, 10}, {200, 20}, {300, 30}},
         "the LINEs joined to the LINE at line 15"},
    };
    for (const Case& c : cases) {
        const DxfProfile p = read_dxf_profile(c.text);
        EXPECT_EQ(points_of(p), c.points) << c.what;
        EXPECT_EQ(p.source, c.source) << c.what;
    }
}

TEST(DxfProfileTest, SaysWhatCannotBeReadNamingTheLineAndTheEntity) {
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"AutoCAD Binary DXF\r\n\x1a",
         "This is a binary DXF file; only DXF files saved as text can be imported"},
        {"0\nSECTION\nten\nx\n",
         "Line 3: 'ten' is not a DXF group code: this is not a DXF file saved as text"},
        {"0\nSECTION\n2\n", "Line 3: the file ends without the value of this group"},
        {dxf({{0, "LWPOLYLINE"}, {10, "1,5"}, {20, "2"}}),
         "Line 7: '1,5' in the LWPOLYLINE at line 5 is not a valid coordinate"},
        {dxf({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1e300"}, {21, "0"}}),
         "Line 11: '1e300' in the LINE at line 5 lies beyond the working range of ±100000 mm"},
        // Metres: 101 m is beyond it, as 101000 mm would be in a point list.
        {dxf({{0, "LWPOLYLINE"}, {10, "0"}, {20, "0"}, {10, "101"}, {20, "0"}}, 6),
         "Line 21: '101' in the LWPOLYLINE at line 15 lies beyond the working range of ±100000 mm"},
        // Cut short: without its end, or with fewer vertices than the polyline declares.
        {"0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n10\n0\n20\n0\n10\n5\n20\n1\n",
         "The file ends at line 14 without its last group (0 EOF): it is cut short"},
        {"", "The file is empty: it holds no drawing"},
        {dxf({{0, "LWPOLYLINE"}, {90, "3"}, {10, "0"}, {20, "0"}, {10, "5"}, {20, "1"}}),
         "Line 5: the LWPOLYLINE at line 5 declares 3 vertices but holds 2: the file is damaged"},
        {dxf({{0, "LWPOLYLINE"}, {90, "two"}, {10, "0"}, {20, "0"}, {10, "5"}, {20, "1"}}),
         "Line 7: 'two' in the LWPOLYLINE at line 5 is not a number of vertices"},
        {dxf({{0, "LWPOLYLINE"}, {10, "1"}, {20, "2"}}),
         "Line 5: the LWPOLYLINE at line 5 has fewer than two points, so it gives no profile"},
        {dxf({{0, "CIRCLE"}, {10, "1"}, {20, "2"}, {40, "5"}}),
         "The file holds no profile: its ENTITIES section has no LWPOLYLINE, POLYLINE, SPLINE or "
         "LINE"},
        {dxf({{0, "LINE"}, {10, "0"}, {20, "0"}}, 4),
         "Line 15: the LINE at line 15 has no start or no end point"},
        {dxf({{0, "LINE"}}, 3),
         "Line 7: the drawing unit 3 ($INSUNITS) is not one a turned profile is drawn in"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(test::error_of([&] { read_dxf_profile(c.text); }), c.error)
            << c.text.substr(0, 60);
}

TEST(DxfProfileTest, ReadsAFileThatStartsWithAByteOrderMarkAndEndsAtEof) {
    const std::string text =
        "\xEF\xBB\xBF" +
        dxf(std::vector<std::pair<int, std::string>>{{0, "LWPOLYLINE"}, {90, "2"}} +
            xy(10, {{0, 1}, {5, 2}})) +
        "anything after the end\n";
    EXPECT_EQ(points_of(read_dxf_profile(text)), (std::vector<XY>{{0, 1}, {5, 2}}));
}

// A chain of n LINEs from x = 0 to x = n, listed in the order `order` gives.
std::string line_chain_dxf(const std::vector<int>& order, bool flipped) {
    std::vector<std::pair<int, std::string>> entities;
    for (const int k : order) {
        const XY a{k, k % 7};
        const XY b{k + 1, (k + 1) % 7};
        entities = entities + std::vector<std::pair<int, std::string>>{{0, "LINE"}} +
                   xy(10, {flipped ? b : a}) + xy(11, {flipped ? a : b});
    }
    return dxf(entities);
}

TEST(DxfProfileTest, JoinsLinesInAnyOrderAndDirectionIntoOneChain) {
    constexpr int n = 2000;
    std::vector<int> forward(n);
    for (int k = 0; k < n; ++k)
        forward[k] = k;
    std::vector<int> backward(forward.rbegin(), forward.rend());
    // From the middle outwards both ways.
    std::vector<int> middle;
    for (int k = n / 2; k < n; ++k)
        middle.push_back(k);
    for (int k = n / 2 - 1; k >= 0; --k)
        middle.push_back(k);
    std::vector<XY> along;
    for (int k = 0; k <= n; ++k)
        along.emplace_back(k, k % 7);
    for (const auto& [what, order] :
         {std::pair{"forward", forward}, std::pair{"backward", backward},
          std::pair{"from the middle", middle}}) {
        for (const bool flipped : {false, true}) {
            std::vector<XY> got = points_of(read_dxf_profile(line_chain_dxf(order, flipped)));
            // The chain starts with the first LINE and may run either way.
            if (!got.empty() && got.front().first > got.back().first)
                std::reverse(got.begin(), got.end());
            EXPECT_EQ(got, along) << what << (flipped ? ", each line drawn backwards" : "");
        }
    }
}

TEST(DxfProfileTest, EndsThatMissEachOtherByLessThanAThousandthStillMeet) {
    const auto line = [](XY a, XY b) {
        return std::vector<std::pair<int, std::string>>{{0, "LINE"}} + xy(10, {a}) + xy(11, {b});
    };
    // 0.0009 apart across a cell border of the search grid; 0.0011 apart is another point.
    const std::string text =
        dxf(line({0, 0}, {0.9999, 0}) + line({1.0008, 0.0009}, {2, 1}) + line({2.0011, 1}, {3, 3}));
    EXPECT_EQ(points_of(read_dxf_profile(text)), (std::vector<XY>{{0, 0}, {0.9999, 0}, {2, 1}}));
}

TEST(DxfImportTest, AddsThePointsSortedWithinTheLimitAndChoosesTheReaderByTheName) {
    test::PlotFixture plot;
    TBetaSPLpoints set{plot.grita};
    std::vector<XY> many;
    for (int k = 1002; k > 0; --k)
        many.emplace_back(k, 50);
    const std::string drawing =
        dxf(std::vector<std::pair<int, std::string>>{{0, "LWPOLYLINE"}} + xy(10, many));
    EXPECT_EQ(import_point_file("profile.DXF", drawing, set), 2);
    EXPECT_EQ(set.Nopoints, 1000);
    // Sorted by x, the first thousand of the entity's order kept.
    EXPECT_EQ(set.X.Tomatch[0], 3);
    EXPECT_EQ(set.X.Tomatch[999], 1002);
    EXPECT_EQ(plot.texts(),
              std::vector<std::string>{
                  "2 points were skipped: the profile holds at most 1000 imported points"});
    // The same bytes under another name are a point list, which has no "x;y" line.
    set.destroy_points(-1e9, -1e9, 1e9, 1e9);
    EXPECT_EQ(import_point_file("profile.txt", drawing, set), 0);
    EXPECT_EQ(set.Nopoints, 0);
    // A drawing that cannot be read adds nothing.
    EXPECT_THROW(import_point_file("bad.dxf", "0\nSECTION\nx\n", set), Error);
    EXPECT_EQ(set.Nopoints, 0);
}

}  // namespace
}  // namespace ostrivane
