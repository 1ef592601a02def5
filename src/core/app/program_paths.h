#pragma once
#include <filesystem>
#include <string_view>

namespace ostrivane {

// The spline file of the turning program `name`: "name.spl" appended to `data_folder`, which
// ends in the separator as the data folder is kept. The name is taken as it is: a caller that
// must keep it inside the folder checks it first.
std::filesystem::path program_spline_file(const std::filesystem::path& data_folder,
                                          std::string_view name);

}  // namespace ostrivane
