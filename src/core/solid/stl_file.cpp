#include "core/solid/stl_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "core/text/file_io.h"

namespace ostrivane {
namespace {

constexpr std::size_t kHeaderBytes = 80;
constexpr std::size_t kTriangleBytes = 50;

void put_u32(std::string& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void put_float(std::string& out, float f) {
    put_u32(out, std::bit_cast<std::uint32_t>(f));
}

struct FloatPoint {
    float x, y, z;
};

FloatPoint single(const Vec3& v) {
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

// One triangle's 50 bytes: its normal from the corners as written, then the corners.
void put_triangle(std::string& out, const Mesh& mesh, const std::array<std::uint32_t, 3>& t) {
    const FloatPoint a = single(mesh.vertices[t[0]]);
    const FloatPoint b = single(mesh.vertices[t[1]]);
    const FloatPoint c = single(mesh.vertices[t[2]]);
    const double ux = double{b.x} - a.x, uy = double{b.y} - a.y, uz = double{b.z} - a.z;
    const double vx = double{c.x} - a.x, vy = double{c.y} - a.y, vz = double{c.z} - a.z;
    double nx = uy * vz - uz * vy;
    double ny = uz * vx - ux * vz;
    double nz = ux * vy - uy * vx;
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (length > 0) {
        nx /= length;
        ny /= length;
        nz /= length;
    }
    for (const double n : {nx, ny, nz})
        put_float(out, static_cast<float>(n));
    for (const FloatPoint& p : {a, b, c}) {
        put_float(out, p.x);
        put_float(out, p.y);
        put_float(out, p.z);
    }
    out.append(2, '\0');
}

std::string header(const Mesh& mesh, std::string_view title) {
    std::string out(title.substr(0, kHeaderBytes));
    // A header that starts with "solid" makes some readers take the file for text.
    if (out.starts_with("solid"))
        out[0] = 'S';
    out.resize(kHeaderBytes, ' ');
    put_u32(out, static_cast<std::uint32_t>(mesh.triangles.size()));
    return out;
}

}  // namespace

std::string stl_bytes(const Mesh& mesh, std::string_view title) {
    std::string out = header(mesh, title);
    out.reserve(out.size() + mesh.triangles.size() * kTriangleBytes);
    for (const auto& t : mesh.triangles)
        put_triangle(out, mesh, t);
    return out;
}

void write_stl(const std::filesystem::path& file, const Mesh& mesh, std::string_view title) {
    AtomicFile out(file);
    out.write(header(mesh, title));
    // In pieces, so that a mesh of millions of triangles never exists twice in memory.
    constexpr std::size_t kPiece = 4096;
    std::string bytes;
    bytes.reserve(kPiece * kTriangleBytes);
    for (std::size_t i = 0; i < mesh.triangles.size(); i += kPiece) {
        bytes.clear();
        const std::size_t end = std::min(mesh.triangles.size(), i + kPiece);
        for (std::size_t k = i; k < end; ++k)
            put_triangle(bytes, mesh, mesh.triangles[k]);
        out.write(bytes);
    }
    out.commit();
}

}  // namespace ostrivane
