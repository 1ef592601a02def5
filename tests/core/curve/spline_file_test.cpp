#include "core/curve/spline_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "curve_fixture.h"

namespace ostrivane {
namespace {

std::string hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

class SplineFileTest : public ::testing::Test {
  protected:
    std::string write() { return write_spline_file(profile, spline2, moves); }
    std::optional<std::uint16_t> read(const std::string& bytes, std::optional<int> limit = {}) {
        return read_spline_file(bytes, profile, spline2, moves, plot.grita, limit);
    }
    // A file with the given sections, written field by field.
    struct Builder {
        SplineStream s;
        Builder& u16(std::uint16_t v) { return s.write_u16(v), *this; }
        Builder& i32(std::int32_t v) { return s.write_i32(v), *this; }
        Builder& f64(double v) { return s.write_f64(v), *this; }
        Builder& pairs(int count, double base) {
            for (int i = 0; i < count; ++i)
                f64(base + i).f64(base + i + 0.5);
            return *this;
        }
        std::string bytes() const { return s.bytes(); }
    };

    test::PlotFixture plot;
    TBetaSPLpoints profile{plot.grita};
    TBetaSPLpoints spline2{plot.grita};
    RecordedMoves moves;
};

TEST_F(SplineFileTest, AnEmptyJobIsTwentyBytes) {
    EXPECT_EQ(hex(write()), "88 27 5C 03 00 00 00 00 00 00 5C 03 00 00 00 00 00 00 00 00");
}

TEST_F(SplineFileTest, APointSectionHoldsCoordinatesThenShapeValues) {
    profile.save_point(1.5, 2.5);
    SplineStream s;
    profile.write_points(s);
    EXPECT_EQ(hex(s.bytes()),
              "5C 03 01 00 00 00 "
              "00 00 00 00 00 00 F8 3F 00 00 00 00 00 00 04 40 "
              "00 00 00 00 00 00 F0 3F 00 00 00 00 00 00 F0 3F");
}

TEST_F(SplineFileTest, AWholeJobReadsBackAsItWasWritten) {
    for (int k = 0; k < 7; ++k)
        profile.save_point(k * 10.0, k * k * 0.5);
    profile.alpha1[3] = 2.25;
    profile.alpha2[6] = -1.0 / 3;
    profile.save_part(5, 15);
    profile.save_part(30, 41.5);
    spline2.save_point(-1, 1e-300);
    spline2.save_point(1e300, -0.0);
    moves.Movecount = 3;
    for (int i = 1; i <= 3; ++i)
        moves.Movements[i] = {i * 1.25, -i * 2.5};
    const std::string bytes = write();
    EXPECT_EQ(bytes.size(), 2u + (6 + 32 * 7) + (2 + 16 * 2) + (6 + 32 * 2) + (4 + 16 * 3));

    test::PlotFixture other;
    TBetaSPLpoints p2{other.grita}, s2{other.grita};
    RecordedMoves m2;
    EXPECT_EQ(read_spline_file(bytes, p2, s2, m2, other.grita), kSplineFileVersion);
    EXPECT_EQ(write_spline_file(p2, s2, m2), bytes);
    EXPECT_EQ(p2.shape(), profile.shape());
    EXPECT_EQ(write_spline_file(SplineDocument{p2.shape(), s2.shape(), m2}), bytes);
    EXPECT_EQ(p2.alpha2[6], -1.0 / 3);
    EXPECT_EQ(p2.X.V[3], 30);  // vertices rebuilt from the points
    EXPECT_EQ(p2.XmaxX, 60 - 0.01);
    EXPECT_TRUE(other.messages.empty());
}

TEST_F(SplineFileTest, AnotherVersionIsIgnoredSilently) {
    profile.save_point(1, 2);
    const std::string other = Builder{}.u16(10119).u16(860).i32(0).bytes();
    EXPECT_EQ(read(other), 10119);
    EXPECT_EQ(read("\x88"), std::nullopt);
    EXPECT_EQ(profile.Nopoints, 1);
    EXPECT_TRUE(plot.messages.empty());
}

TEST_F(SplineFileTest, AnOldSectionWithoutMarkerGetsUnitShapeValues) {
    profile.alpha1[0] = 5;
    const std::string bytes = Builder{}.u16(10120).i32(2).pairs(2, 10).u16(0).i32(0).i32(0).bytes();
    read(bytes);
    ASSERT_EQ(profile.Nopoints, 2);
    EXPECT_EQ(profile.X.Tomatch[1], 11);
    EXPECT_EQ(profile.Y.Tomatch[1], 11.5);
    EXPECT_EQ(profile.alpha1[0], 1.0);
    EXPECT_EQ(profile.alpha2[1], 1.0);
    EXPECT_TRUE(plot.messages.empty());
}

// Broken and hostile files: each section refuses what it cannot hold or the file cannot supply
// before storing anything, and the next section goes on from where a complete read would stop.
TEST_F(SplineFileTest, HostileSectionsAreRefusedWithTheirMessages) {
    const std::string read_error = "Error reading spline file !!!";
    const std::string moves_error = "Fault while reading......";
    struct Case {
        const char* name;
        std::string bytes;
        int points, parts, points2, movecount;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"ends inside the profile's points",
         Builder{}.u16(10120).u16(860).i32(3).pairs(2, 1).u16(1).bytes(),
         0,
         0,
         -1,
         -1,
         {read_error, read_error, read_error, moves_error}},
        {"ends inside the shape values",
         Builder{}.u16(10120).u16(860).i32(2).pairs(2, 1).pairs(1, 1).u16(0).bytes(),
         0,
         0,
         -1,
         -1,
         {read_error, read_error, moves_error}},
        {"more points than a set holds",
         Builder{}
             .u16(10120)
             .u16(860)
             .i32(10000)
             .pairs(20000, 1)
             .u16(1)
             .pairs(1, 7)
             .u16(860)
             .i32(1)
             .pairs(2, 3)
             .i32(1)
             .pairs(1, 2)
             .bytes(),
         0,
         1,
         1,
         1,
         {read_error}},
        {"a negative count",
         Builder{}.u16(10120).u16(860).i32(-5).u16(0).u16(860).i32(0).i32(0).bytes(),
         0,
         0,
         0,
         0,
         {read_error}},
        {"a count beyond the file",
         Builder{}.u16(10120).u16(860).i32(2000000000).pairs(1, 1).bytes(),
         0,
         -1,
         -1,
         -1,
         {read_error, read_error, read_error, moves_error}},
        {"more parts than a set holds",
         Builder{}
             .u16(10120)
             .u16(860)
             .i32(0)
             .u16(10001)
             .pairs(10001, 1)
             .u16(860)
             .i32(0)
             .i32(0)
             .bytes(),
         0,
         0,
         0,
         0,
         {read_error}},
        {"parts cut short",
         Builder{}.u16(10120).u16(860).i32(0).u16(3).pairs(2, 1).bytes(),
         0,
         0,
         -1,
         -1,
         {read_error, read_error, moves_error}},
        {"too many moves",
         Builder{}.u16(10120).u16(860).i32(0).u16(0).u16(860).i32(0).i32(51).pairs(51, 0).bytes(),
         0,
         0,
         0,
         0,
         {moves_error}},
        {"moves cut short",
         Builder{}.u16(10120).u16(860).i32(0).u16(0).u16(860).i32(0).i32(2).pairs(1, 0).bytes(),
         0,
         0,
         0,
         0,
         {moves_error}},
        // Without the moves the empty second spline is shorter than any point section can be;
        // the moves reader then takes its 6 bytes for a count of 860.
        {"no moves section",
         Builder{}.u16(10120).u16(860).i32(0).u16(0).u16(860).i32(0).bytes(),
         0,
         0,
         -1,
         0,
         {read_error, moves_error}},
    };
    for (const Case& c : cases) {
        // Start from a job that a refused section must not leave half-overwritten.
        profile.destroy_points(-1e9, -1e9, 1e9, 1e9);
        spline2.destroy_points(-1e9, -1e9, 1e9, 1e9);
        profile.destroy_part(-1e9, 1e9);
        profile.save_point(100, 100);
        spline2.save_point(200, 200);
        spline2.save_point(300, 300);
        profile.save_part(100, 200);
        moves.Movecount = 2;
        moves.Movements[1] = {9, 9};
        plot.messages.clear();
        SplineDocument document{profile.shape(), spline2.shape(), moves};
        test::PlotFixture document_plot;

        read(c.bytes);
        // Read as values, the file gives the same content and the same notices.
        read_spline_file(c.bytes, document, document_plot.grita);
        EXPECT_EQ(document.profile, profile.shape()) << c.name;
        EXPECT_EQ(document.spline2, spline2.shape()) << c.name;
        EXPECT_EQ(document.moves.Movecount, moves.Movecount) << c.name;
        EXPECT_EQ(document_plot.texts(), c.messages) << c.name;
        // -1: unchanged from the starting job.
        EXPECT_EQ(profile.Nopoints, c.points) << c.name;
        EXPECT_EQ(profile.NoParts, c.parts == -1 ? 1 : c.parts) << c.name;
        EXPECT_EQ(spline2.Nopoints, c.points2 == -1 ? 2 : c.points2) << c.name;
        EXPECT_EQ(moves.Movecount, c.movecount == -1 ? 2 : c.movecount) << c.name;
        EXPECT_EQ(moves.Movements[1].X, c.movecount > 0 ? 2 : 9) << c.name;
        EXPECT_EQ(profile.X.Tomatch[0], 100) << c.name << ": points stored before the refusal";
        EXPECT_EQ(plot.texts(), c.messages) << c.name;
    }
}

TEST_F(SplineFileTest, AShortPointSectionLeavesTheSetAsItWas) {
    profile.save_point(1, 2);
    SplineStream s{std::string("\x5C\x03\x01\x00\x00\x00\x00", 7)};
    profile.read_points(s);
    EXPECT_EQ(profile.Nopoints, 1);
    EXPECT_EQ(plot.texts(), std::vector<std::string>{"Error reading spline file !!!"});
    EXPECT_EQ(s.position(), 0u);
}

TEST_F(SplineFileTest, TheEditorsLimitKeepsTheFirstThousandPointsWithAProperEnd) {
    for (int k = 0; k < 1200; ++k)
        profile.save_point(k, k % 10);
    const std::string bytes = write();
    test::PlotFixture other;
    TBetaSPLpoints p2{other.grita}, s2{other.grita};
    RecordedMoves m2;
    read_spline_file(bytes, p2, s2, m2, other.grita, 1000);
    EXPECT_EQ(p2.Nopoints, 1000);
    // The curve now ends at point 999: its boundary copies are refreshed.
    EXPECT_EQ(p2.X.V[1000], 999);
    EXPECT_EQ(p2.X.V[1001], 999);
    EXPECT_EQ(p2.XmaxX, 999 - 0.01);
}

}  // namespace
}  // namespace ostrivane
