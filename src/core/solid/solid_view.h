#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/solid/mesh.h"

namespace ostrivane {

// A picture in 32-bit pixels 0xAARRGGBB, row by row from the top.
struct SolidImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// How a piece is seen: from the side (its axis across the picture, left to right) turned `yaw`
// degrees about the picture's upright, then tilted `pitch` degrees so that the viewer looks
// down on it; `zoom` times the size at which it fits the picture whichever way it is turned,
// moved `pan_x`, `pan_y` pixels (right, down).
struct SolidCamera {
    double yaw = 30;
    double pitch = 20;
    double zoom = 1;
    double pan_x = 0;
    double pan_y = 0;
};

inline constexpr std::uint32_t kSolidBackground = 0xFFE9EDF2;

// Draws a mesh shaded, lit from the upper left of the viewer, into an image of its own: a
// renderer of our own rather than OpenGL, so that the picture is the same in the window, under
// a software-rendered X server, offscreen in the tests and in the command-line tool, which has
// no display at all. Smooth shading across the surface, sharp at the caps' rims (their
// vertices are their own).
class SolidView {
  public:
    explicit SolidView(Mesh mesh);

    const Mesh& mesh() const { return mesh_; }
    // `camera` zoomed and moved so that the piece, turned as the camera turns it, fills
    // `fill` of a picture of `width` x `height` pixels.
    SolidCamera fitted(SolidCamera camera, int width, int height, double fill = 0.9) const;
    // The picture of `width` x `height` pixels (each at least 1) seen through `camera`.
    const SolidImage& draw(const SolidCamera& camera, int width, int height);

  private:
    struct Projected {
        float x, y, z, light;
    };
    // Pixels per mm at zoom 1: the sphere that holds the piece fits the picture.
    double base_scale(int width, int height) const;
    void project(const SolidCamera& camera);
    void fill(const std::array<std::uint32_t, 3>& t, std::uint32_t colour);

    Mesh mesh_;
    std::vector<Vec3> normals_;
    Vec3 centre_;
    double radius_ = 1;  // of the sphere about the centre that holds the mesh
    SolidImage image_;
    std::vector<float> depth_;
    std::vector<Projected> projected_;
};

// The picture of `mesh` turned as `camera` turns it and filling the picture, as the bytes of a
// PNG file.
std::string solid_png(Mesh mesh, const SolidCamera& camera, int width, int height);

}  // namespace ostrivane
