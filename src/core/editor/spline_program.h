#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace ostrivane {

// A turning program in the data folder: the main window's state file "N.gof" and the
// editor's spline file "N.spl", N being the program name.
struct SplineProgramFiles {
    std::filesystem::path gof;
    std::filesystem::path spl;
};

// The pair for program name `name` in `data_folder`. Throws Error for a name that is empty or
// would lead out of the folder.
SplineProgramFiles spline_program_files(const std::filesystem::path& data_folder,
                                        std::string_view name);

// Whether a save would replace an existing file of the pair.
bool spline_program_exists(const SplineProgramFiles& files);

// Writes both files so that a failure leaves both as they were: both are written in full beside
// their targets first, and when the second cannot take its place the first is put back. Throws
// Error naming the file.
void write_spline_program(const SplineProgramFiles& files, std::string_view gof_bytes,
                          std::string_view spl_bytes);

}  // namespace ostrivane
