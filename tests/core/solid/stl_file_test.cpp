#include "core/solid/stl_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/solid/piece.h"
#include "support/file_fixtures.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {

float float_at(const std::string& bytes, std::size_t at) {
    float f;
    std::memcpy(&f, bytes.data() + at, 4);  // the tests run on little-endian machines
    return f;
}

TEST(StlFile, HoldsEveryTriangleWithItsOutwardNormal) {
    const Mesh mesh = turned_piece({{0, 10}, {50, 10}}, 0.05);
    const std::string bytes = stl_bytes(mesh, "solid piece");
    ASSERT_EQ(bytes.size(), 84 + 50 * mesh.triangles.size());
    EXPECT_NE(bytes.substr(0, 5), "solid");  // not to be taken for a text file
    std::uint32_t count;
    std::memcpy(&count, bytes.data() + 80, 4);
    EXPECT_EQ(count, mesh.triangles.size());
    for (std::size_t k = 0; k < mesh.triangles.size(); ++k) {
        const std::size_t at = 84 + 50 * k;
        const Vec3& v = mesh.vertices[mesh.triangles[k][0]];
        EXPECT_FLOAT_EQ(float_at(bytes, at + 12), static_cast<float>(v.x));
        // On the side the normal points away from the axis, on the caps along it.
        const double nx = float_at(bytes, at), ny = float_at(bytes, at + 4),
                     nz = float_at(bytes, at + 8);
        double x_sum = 0;
        for (const std::uint32_t i : mesh.triangles[k])
            x_sum += mesh.vertices[i].x;
        const double outward = x_sum == 0 ? -nx : x_sum == 150 ? nx : ny * v.y + nz * v.z;
        EXPECT_GT(outward, 0) << k;
    }
}

TEST(StlFile, IsSavedWholeOrNotAtAll) {
    test::TempDir dir;
    const auto file = dir.path() / "piece.stl";
    const Mesh mesh = turned_piece({{0, 10}, {50, 10}}, 0.05);
    write_stl(file, mesh, "piece");
    EXPECT_EQ(test::read_bytes(file), stl_bytes(mesh, "piece"));
    EXPECT_THROW(write_stl(dir.path() / "no folder" / "piece.stl", mesh, "piece"), std::exception);
}

}  // namespace
}  // namespace ostrivane
