#pragma once
#include <filesystem>
#include <string>
#include <string_view>

#include "core/solid/mesh.h"

namespace ostrivane {

// The bytes of a binary STL file of `mesh`, in millimetres: an 80-byte header starting with
// `title`, the triangle count and each triangle with its outward normal (little-endian floats).
std::string stl_bytes(const Mesh& mesh, std::string_view title);

// Writes `mesh` as a binary STL file through the atomic save: the old file stays until the
// new one is complete. Throws Error naming the file.
void write_stl(const std::filesystem::path& file, const Mesh& mesh, std::string_view title);

}  // namespace ostrivane
