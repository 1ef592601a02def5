// The 3D view of a 1000-point, 1500 mm profile: one frame as the window draws it while the
// mouse turns the piece, reported as frames per second; and the mesh an STL export writes.
#include <benchmark/benchmark.h>

#include <cmath>

#include "core/curve/spline_points.h"
#include "core/solid/job_pieces.h"
#include "core/solid/solid_view.h"

namespace {
using namespace ostrivane;

struct Piece {
    Piece() {
        profile.set_data(4.5, 1000, true);
        // A long baluster: slow waves with beads on them, 1.5 mm between points.
        for (int k = 0; k < 1000; ++k) {
            const double x = 1.5 * k;
            const double y = 40 + 12 * std::sin(x / 60) + 4 * std::sin(x / 9);
            profile.X.Tomatch[k] = x;
            profile.Y.Tomatch[k] = y;
            profile.alpha1[k] = 1;
            profile.alpha2[k] = 1;
        }
        profile.Nopoints = 1000;
        profile.destroy_points(-10, -10, -5, -5);  // removes nothing; refreshes and matches
        shape = designed_shape(profile, 100, {});
    }
    SilentSink sink;
    TBetaSPLpoints profile{sink};
    PieceShape shape;
};

Piece& piece() {
    static Piece shared;
    return shared;
}

// One frame of the window's view (the window's first size, and a large window zoomed in four
// times) at a new angle each time.
void BM_SolidViewFrame(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const PieceShape& shape = piece().shape;
    SolidView view(mesh_of(shape, picture_tolerance(shape.length())));
    SolidCamera camera = view.fitted(SolidCamera{}, width, height);
    camera.zoom *= static_cast<double>(state.range(2));
    for (auto _ : state) {
        camera.yaw += 1.5;
        camera.pitch = 20 + 10 * std::sin(camera.yaw / 40);
        benchmark::DoNotOptimize(view.draw(camera, width, height).pixels.data());
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["triangles"] = static_cast<double>(view.mesh().triangles.size());
}
BENCHMARK(BM_SolidViewFrame)
    ->Args({900, 440, 1})
    ->Args({1600, 900, 4})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The mesh an STL export writes, at the default tolerance.
void BM_StlMesh(benchmark::State& state) {
    std::size_t triangles = 0;
    for (auto _ : state) {
        const Mesh mesh = mesh_of(piece().shape, kDefaultTolerance);
        triangles = mesh.triangles.size();
        benchmark::DoNotOptimize(mesh.vertices.data());
    }
    state.counters["triangles"] = static_cast<double>(triangles);
}
BENCHMARK(BM_StlMesh)->Unit(benchmark::kMillisecond);

}  // namespace
