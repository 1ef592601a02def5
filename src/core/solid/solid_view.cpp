#include "core/solid/solid_view.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "core/check/check_picture.h"

namespace ostrivane {
namespace {

constexpr double kDegree = std::numbers::pi / 180;
constexpr float kAmbient = 0.28F;
constexpr float kDiffuse = 0.62F;
constexpr float kHighlight = 0.22F;

Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 minus(const Vec3& a, const Vec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3 unit(const Vec3& v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0 ? Vec3{v.x / length, v.y / length, v.z / length} : Vec3{0, 0, 1};
}

// Turns about the upright (y) by the camera's yaw, then tilts about the picture's horizontal
// (x) by its pitch.
struct Rotation {
    explicit Rotation(const SolidCamera& camera)
        : cy(std::cos(camera.yaw * kDegree)),
          sy(std::sin(camera.yaw * kDegree)),
          cp(std::cos(camera.pitch * kDegree)),
          sp(std::sin(camera.pitch * kDegree)) {}
    Vec3 operator()(const Vec3& v) const {
        const double x1 = cy * v.x + sy * v.z;
        const double z1 = -sy * v.x + cy * v.z;
        return Vec3{x1, cp * v.y - sp * z1, sp * v.y + cp * z1};
    }
    double cy, sy, cp, sp;
};

std::uint32_t shaded(std::uint32_t colour, float light) {
    const auto channel = [light](std::uint32_t c) {
        const float v = static_cast<float>(c) * light;
        return static_cast<std::uint32_t>(std::clamp(v, 0.0F, 255.0F));
    };
    return 0xFF000000U | channel((colour >> 16) & 0xFF) << 16 | channel((colour >> 8) & 0xFF) << 8 |
           channel(colour & 0xFF);
}

}  // namespace

SolidView::SolidView(Mesh mesh) : mesh_(std::move(mesh)) {
    // Normals of the vertices: the faces around each, weighted by their areas.
    normals_.assign(mesh_.vertices.size(), Vec3{});
    for (const auto& t : mesh_.triangles) {
        const Vec3 n = cross(minus(mesh_.vertices[t[1]], mesh_.vertices[t[0]]),
                             minus(mesh_.vertices[t[2]], mesh_.vertices[t[0]]));
        for (const std::uint32_t v : t) {
            normals_[v].x += n.x;
            normals_[v].y += n.y;
            normals_[v].z += n.z;
        }
    }
    for (Vec3& n : normals_)
        n = unit(n);
    const auto [lo, hi] = mesh_bounds(mesh_);
    centre_ = {(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
    radius_ =
        std::max(1e-6, std::sqrt((hi.x - lo.x) * (hi.x - lo.x) + (hi.y - lo.y) * (hi.y - lo.y) +
                                 (hi.z - lo.z) * (hi.z - lo.z)) /
                           2);
    if (mesh_.colours.size() != mesh_.triangles.size())
        mesh_.colours.resize(mesh_.triangles.size(), kWoodColour);
}

double SolidView::base_scale(int width, int height) const {
    return 0.95 * std::min(width, height) / (2 * radius_);
}

SolidCamera SolidView::fitted(SolidCamera camera, int width, int height, double fill) const {
    if (mesh_.vertices.empty())
        return camera;
    const Rotation view(camera);
    double x0 = std::numeric_limits<double>::infinity(), x1 = -x0, y0 = x0, y1 = -x0;
    for (const Vec3& v : mesh_.vertices) {
        const Vec3 p = view(minus(v, centre_));
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    const double base = base_scale(std::max(1, width), std::max(1, height));
    const double across =
        std::max((x1 - x0) * base / (fill * width), (y1 - y0) * base / (fill * height));
    camera.zoom = across > 0 ? 1 / across : 1;
    camera.pan_x = -base * camera.zoom * (x0 + x1) / 2;
    camera.pan_y = base * camera.zoom * (y0 + y1) / 2;
    return camera;
}

void SolidView::project(const SolidCamera& camera) {
    const double cy = std::cos(camera.yaw * kDegree), sy = std::sin(camera.yaw * kDegree);
    const double cp = std::cos(camera.pitch * kDegree), sp = std::sin(camera.pitch * kDegree);
    // Turn about the upright (y), then tilt about the picture's horizontal (x).
    const auto view = [&](const Vec3& v) {
        const double x1 = cy * v.x + sy * v.z;
        const double z1 = -sy * v.x + cy * v.z;
        return Vec3{x1, cp * v.y - sp * z1, sp * v.y + cp * z1};
    };
    const double scale = camera.zoom * 0.95 * std::min(image_.width, image_.height) / (2 * radius_);
    const double cx = image_.width / 2.0 + camera.pan_x;
    const double cyp = image_.height / 2.0 + camera.pan_y;
    const Vec3 light = unit({-0.45, 0.6, 1.0});
    const Vec3 half = unit({light.x, light.y, light.z + 1});
    projected_.resize(mesh_.vertices.size());
    for (std::size_t i = 0; i < mesh_.vertices.size(); ++i) {
        const Vec3 p = view(minus(mesh_.vertices[i], centre_));
        const Vec3 n = view(normals_[i]);
        const double diffuse = std::max(0.0, n.x * light.x + n.y * light.y + n.z * light.z);
        const double facing = std::max(0.0, n.x * half.x + n.y * half.y + n.z * half.z);
        const double gloss = std::pow(facing, 24);
        projected_[i] = {static_cast<float>(cx + scale * p.x),
                         static_cast<float>(cyp - scale * p.y), static_cast<float>(p.z),
                         static_cast<float>(kAmbient + kDiffuse * diffuse + kHighlight * gloss)};
    }
}

void SolidView::fill(const std::array<std::uint32_t, 3>& t, std::uint32_t colour) {
    const Projected& a = projected_[t[0]];
    const Projected& b = projected_[t[1]];
    const Projected& c = projected_[t[2]];
    // Seen from outside the corners run counter-clockwise; on the picture, whose y runs down,
    // that is a negative area. The others face away and are hidden by the near side.
    const float area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
    if (!(area < 0))
        return;
    const int w = image_.width;
    const int h = image_.height;
    // Kept within the picture before they become whole numbers: a piece zoomed far in lies
    // mostly outside it.
    const auto column = [w](float v) { return static_cast<int>(std::clamp(v, -1.0F, float(w))); };
    const auto row = [h](float v) { return static_cast<int>(std::clamp(v, -1.0F, float(h))); };
    const int x0 = std::max(0, column(std::floor(std::min({a.x, b.x, c.x}))));
    const int x1 = std::min(w - 1, column(std::ceil(std::max({a.x, b.x, c.x}))));
    const int y0 = std::max(0, row(std::floor(std::min({a.y, b.y, c.y}))));
    const int y1 = std::min(h - 1, row(std::ceil(std::max({a.y, b.y, c.y}))));
    if (x0 > x1 || y0 > y1)
        return;
    const float inverse = 1.0F / area;
    // Edge functions, each zero on one side and of the triangle's sign inside.
    const auto edge = [](const Projected& p, const Projected& q, float x, float y) {
        return (q.x - p.x) * (y - p.y) - (x - p.x) * (q.y - p.y);
    };
    const float dxa = -(c.y - b.y), dxb = -(a.y - c.y), dxc = -(b.y - a.y);
    // A pixel a tenth of a pixel outside an edge still counts: the long slivers that join a
    // beam's flat sides would otherwise leave specks where rounding puts a pixel centre just
    // outside both triangles of an edge.
    const auto slack = [](const Projected& p, const Projected& q) {
        return 0.1F * std::hypot(q.x - p.x, q.y - p.y);
    };
    const float sa = slack(b, c), sb = slack(c, a), sc = slack(a, b);
    for (int py = y0; py <= y1; ++py) {
        const float sx = static_cast<float>(x0) + 0.5F;
        const float sy = static_cast<float>(py) + 0.5F;
        float wa = edge(b, c, sx, sy);
        float wb = edge(c, a, sx, sy);
        float wc = edge(a, b, sx, sy);
        std::uint32_t* row = image_.pixels.data() + static_cast<std::size_t>(py) * w;
        float* depth = depth_.data() + static_cast<std::size_t>(py) * w;
        for (int px = x0; px <= x1; ++px, wa += dxa, wb += dxb, wc += dxc) {
            if (wa > sa || wb > sb || wc > sc)
                continue;
            const float la = wa * inverse, lb = wb * inverse, lc = wc * inverse;
            const float z = la * a.z + lb * b.z + lc * c.z;
            if (z <= depth[px])
                continue;
            depth[px] = z;
            row[px] = shaded(colour, la * a.light + lb * b.light + lc * c.light);
        }
    }
}

const SolidImage& SolidView::draw(const SolidCamera& camera, int width, int height) {
    image_.width = std::max(1, width);
    image_.height = std::max(1, height);
    const auto count = static_cast<std::size_t>(image_.width) * image_.height;
    image_.pixels.assign(count, kSolidBackground);
    depth_.assign(count, -std::numeric_limits<float>::infinity());
    project(camera);
    for (std::size_t i = 0; i < mesh_.triangles.size(); ++i)
        fill(mesh_.triangles[i], mesh_.colours[i]);
    return image_;
}

std::string solid_png(Mesh mesh, const SolidCamera& camera, int width, int height) {
    SolidView view(std::move(mesh));
    const SolidImage& image = view.draw(view.fitted(camera, width, height), width, height);
    CheckPicture picture;
    picture.width = image.width;
    picture.height = image.height;
    picture.rgb.reserve(image.pixels.size() * 3);
    for (const std::uint32_t p : image.pixels) {
        picture.rgb.push_back(static_cast<std::uint8_t>(p >> 16));
        picture.rgb.push_back(static_cast<std::uint8_t>(p >> 8));
        picture.rgb.push_back(static_cast<std::uint8_t>(p));
    }
    return png_bytes(picture);
}

}  // namespace ostrivane
