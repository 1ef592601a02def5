#pragma once
#include <gtest/gtest.h>

#include "core/solid/mesh.h"

namespace ostrivane::test {

// What a printer or viewer needs of a mesh, judged on its corners as an STL file holds them
// (single floats): every edge shared by exactly two triangles that run along it in opposite
// directions (closed and consistently oriented), no triangle without area, no triangle twice,
// and all triangles joined into one piece.
::testing::AssertionResult is_sound_solid(const Mesh& mesh);

}  // namespace ostrivane::test
