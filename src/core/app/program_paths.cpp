#include "core/app/program_paths.h"

#include <string>

namespace ostrivane {

std::filesystem::path program_spline_file(const std::filesystem::path& data_folder,
                                          std::string_view name) {
    // Appended as text, not joined: the name stays in the folder as typed.
    std::filesystem::path file = data_folder;
    file += std::filesystem::u8path(std::string(name) + ".spl");
    return file;
}

}  // namespace ostrivane
