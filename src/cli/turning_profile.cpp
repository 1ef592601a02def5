#include "cli/turning_profile.h"

#include "core/app/known_folders.h"
#include "core/curve/profile_load.h"
#include "core/curve/spline_file.h"
#include "core/editor/spline_program.h"
#include "core/text/error.h"
#include "core/text/file_io.h"

namespace ostrivane::cli {

std::filesystem::path load_turning_profile(TGrad& engine,
                                           const std::optional<std::string>& spline_file,
                                           const FieldValues& fields, MessageSink& notices) {
    // The program name makes file names: one that leads out of its folder is refused, as the
    // window refuses it.
    const SplineProgramFiles files = spline_program_files(data_folder(), fields.text("Smot_name"));
    const std::filesystem::path profile =
        spline_file ? std::filesystem::path(*spline_file) : files.spl;
    const auto bytes = read_file_if_exists(profile, kMaxSplineFileBytes, "a spline file");
    if (!bytes && spline_file)
        throw Error("Cannot open file " + profile.string());
    if (!bytes)
        return profile;
    // A file that gives no profile is refused before a program is made of it.
    check_spline_version(load_profile(*bytes, engine.drawing(), notices).version, profile.string());
    if (engine.profile.Nopoints < 2)
        throw Error(profile.string() + " holds no profile to turn: it is damaged or empty");
    return profile;
}

}  // namespace ostrivane::cli
