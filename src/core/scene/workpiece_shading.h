#pragma once
#include <filesystem>

#include "core/plot/canvas.h"

namespace ostrivane {

class JobContext;
class Tgrita;
class TGrad;

// The shaded workpiece of `engine`'s profile on `bitmap` (nothing is drawn without one), one
// column per pixel of the surface, with the parameters of the data folder's "pelmo.gul".
// Reports progress to `context` (may be null), lets the host breathe after every column and
// stops after the current column once the engine's `closing` is set or the context is
// cancelled; the engine's `shaderunning` is set meanwhile. Throws Error for a parameter file
// that cannot be used.
void shade_workpiece(Tgrita& surface, Canvas* bitmap, TGrad& engine,
                     const std::filesystem::path& data_folder, JobContext* context);

}  // namespace ostrivane
