#include "core/editor/spline_program.h"

#include <optional>
#include <system_error>
#include "core/app/program_paths.h"

#include "core/text/error.h"
#include "core/text/file_io.h"

namespace ostrivane {
namespace fs = std::filesystem;

SplineProgramFiles spline_program_files(const fs::path& data_folder, std::string_view name) {
    // The name is typed into a field: it must stay a file name inside the data folder.
    const bool bad = name.empty() || name == "." || name == ".." ||
                     name.find_first_of("/\\") != std::string_view::npos ||
                     name.find('\0') != std::string_view::npos;
    if (bad)
        throw Error(std::string(name) + " is not a valid program name.");
    const std::string base(name);
    return {data_folder / (base + ".gof"), program_spline_file(data_folder / "", name)};
}

bool spline_program_exists(const SplineProgramFiles& files) {
    std::error_code ec;
    return fs::exists(files.gof, ec) || fs::exists(files.spl, ec);
}

void write_spline_program(const SplineProgramFiles& files, std::string_view gof_bytes,
                          std::string_view spl_bytes) {
    std::error_code ec;
    // Both targets are checked and both new files written before either replaces its old one.
    // The checks come first: a device in a target's place is refused before it is read.
    AtomicFile gof(files.gof);
    AtomicFile spl(files.spl);
    // Without the old bytes the pair could not be put back: touch nothing.
    const std::optional<std::string> old_spl =
        read_file_if_exists(files.spl, own_file_limit, "a spline file");
    gof.write(gof_bytes);
    spl.write(spl_bytes);
    spl.commit();
    try {
        gof.commit();
    } catch (...) {
        try {
            if (old_spl) {
                write_file_atomically(files.spl, *old_spl);
            } else {
                fs::remove(files.spl, ec);
            }
        } catch (...) {
            // The state file's error is the one to report.
        }
        throw;
    }
}

}  // namespace ostrivane
