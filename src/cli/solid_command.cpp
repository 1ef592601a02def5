#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/job_fields.h"
#include "cli/turning_profile.h"
#include "core/app/known_folders.h"
#include "core/check/check_picture.h"
#include "core/check/job_check.h"
#include "core/gcode/machine_settings.h"
#include "core/solid/job_pieces.h"
#include "core/solid/piece.h"
#include "core/solid/solid_view.h"
#include "core/solid/stl_file.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/number_format.h"
#include "core/text/number_parse.h"
#include "core/toolpath/turning_job.h"

namespace ostrivane::cli {
namespace {

constexpr const char* kHelp =
    "usage: ostrivane-cli solid [PROGRAM.ngc] [--program F.gof] [--set NAME=TEXT]...\n"
    "                          [--spline F.spl] [--tooth F.tnd] [--axis MM] [--beam MM]\n"
    "                          [--tolerance MM] [--stl OUT.stl] [--png F.png] [--size WxH]\n"
    "                          [--view ANGLE]\n"
    "\n"
    "The turned piece in three dimensions. Without PROGRAM.ngc the designed piece: the profile\n"
    "turned about the turning axis (the radius at x is the axis height less the profile's y),\n"
    "with the tooth file's slots cut in when the job cuts them (UseTND or doublet set). With\n"
    "PROGRAM.ngc the piece as that turning program cuts it, read back as \"check\" reads it:\n"
    "the square beam wherever the saw never reached, turned down to the highest the saw reached\n"
    "elsewhere, overcut red and material left grey in the picture.\n"
    "The STL file is binary, in millimetres: one closed solid whose surface keeps within the\n"
    "tolerance of the true one. Prints the piece's length, volume and triangle count.\n"
    "\n";

constexpr const char* kOptionsHelp =
    "  --spline FILE     the profile; default: <data folder>/<Smot_name>.spl\n"
    "  --tooth FILE      the tooth file whose slots the job cuts (default: none)\n"
    "  --axis MM         the editor's \"Turn axis position (mm)\" (default 100)\n"
    "  --beam MM         the editor's \"Beam thickness (mm)\" (default 100)\n"
    "  --tolerance MM    the farthest the surface may lie from the true one (default 0.05)\n"
    "  --stl FILE        write the piece as a binary STL file\n"
    "  --png FILE        draw the piece, shaded, as a PNG picture\n"
    "  --size WxH        the picture's size in pixels (default 1200x600)\n"
    "  --view ANGLE      degrees the piece is turned from the side view towards its end\n"
    "                    (default 30; 0 is from the side, 90 along its axis)\n";

struct SolidOptions {
    JobOptions job;
    CLI::Option* gcode_option = nullptr;
    std::string gcode;
    CLI::Option* spline_option = nullptr;
    std::string spline;
    std::string tooth;
    double axis = 100;
    double beam = 100;
    double tolerance = kDefaultTolerance;
    CLI::Option* stl_option = nullptr;
    std::string stl;
    CLI::Option* png_option = nullptr;
    std::string png;
    std::string size = "1200x600";
    double view = 30;
};

class StderrNotices final : public MessageSink {
  public:
    using MessageSink::notice;
    void notice(const std::string& text, std::uint32_t, bool) override {
        std::cerr << text << '\n';
    }
};

// The largest picture made: 8000 x 8000 pixels.
constexpr int kLargestSide = 8000;

std::pair<int, int> picture_size(const std::string& text) {
    const std::size_t x = text.find('x');
    const auto w = x == std::string::npos ? std::nullopt : parse_int(text.substr(0, x));
    const auto h = x == std::string::npos ? std::nullopt : parse_int(text.substr(x + 1));
    if (!w || !h || *w < 1 || *h < 1 || *w > kLargestSide || *h > kLargestSide)
        throw UsageError{"--size takes WxH in pixels, each from 1 to 8000, not " + text};
    return {*w, *h};
}

int run(const SolidOptions& o) {
    const auto program = given(o.gcode_option, o.gcode);
    const auto spline_file = given(o.spline_option, o.spline);
    const auto stl = given(o.stl_option, o.stl);
    const auto png = given(o.png_option, o.png);
    if (!stl && !png)
        throw UsageError{"say what to make: --stl FILE, --png FILE or both"};
    if (!(o.tolerance >= 0.001 && o.tolerance <= 10))
        throw UsageError{"--tolerance takes a length from 0.001 to 10 mm"};
    if (!(o.axis > -kWorkingRange && o.axis < kWorkingRange) ||
        !(o.beam > 0 && o.beam < kWorkingRange))
        throw UsageError{"--axis and --beam take lengths within 100,000 mm (--beam above 0)"};
    if (!std::isfinite(o.view))
        throw UsageError{"--view takes an angle in degrees"};
    const auto [width, height] = picture_size(o.size);
    const FieldValues fields = job_fields(o.job);

    StderrNotices notices;
    const MainLog log = [](std::string_view text, bool) { std::cerr << text << '\n'; };
    Profile drawing(notices);
    TGrad engine(drawing, notices, data_folder(), log);
    const bool use_tooth = set_turning_check_job(engine, fields, o.axis, o.beam, o.tooth);
    const std::filesystem::path profile =
        load_turning_profile(engine, spline_file, fields, notices);
    if (engine.profile.Nopoints < 2)
        throw Error(profile.string() + " holds no profile (give it with --spline or --program)");
    std::vector<DesignSlot> slots = turning_check_slots(engine, use_tooth, o.tooth);

    PieceShape shape;
    if (program) {
        CheckInputs inputs;
        inputs.settings = read_machine_settings(fields);
        std::optional<TurningDesign> design;
        inputs.design_for = [&](ProgramKind kind, CheckInputs& in) {
            if (kind != ProgramKind::turning)
                throw Error(*program +
                            " is a finger-joint program: only a turning program cuts a "
                            "turned piece");
            design.emplace(engine, std::move(slots));
            in.turning = &*design;
        };
        const CheckReport report = check_named_program(*program, inputs);
        if (report.envelope.empty())
            throw Error(*program + " cuts nothing along the profile");
        shape = cut_shape(report, o.axis, o.beam, o.tolerance);
    } else {
        shape = designed_shape(engine.profile, o.axis, slots, o.tolerance);
    }
    const Mesh piece = mesh_of(shape, o.tolerance);
    if (piece.triangles.empty())
        throw Error("The profile leaves no piece: it lies beyond the turning axis everywhere");

    // Both are made before either is written: a refusal leaves neither.
    std::string png_file_bytes;
    if (png) {
        SolidCamera camera;
        camera.yaw = o.view;
        png_file_bytes =
            solid_png(mesh_of(shape, std::max(o.tolerance, picture_tolerance(shape.length()))),
                      camera, width, height);
    }
    if (stl)
        write_stl(*stl, piece, "Ostrivane turned piece, mm");
    if (png)
        write_file_atomically(*png, png_file_bytes);
    const auto [lo, hi] = mesh_bounds(piece);
    std::cout << (program ? "As cut" : "Designed") << ": " << format_fixed(hi.x - lo.x, 3)
              << " mm long, " << format_fixed(mesh_volume(piece) / 1000, 3) << " cm3, "
              << piece.triangles.size() << " triangles\n";
    return 0;
}

}  // namespace

Command add_solid_command(CLI::App& tool) {
    auto o = std::make_shared<SolidOptions>();
    CLI::App* command =
        add_command(tool, "solid", "the turned piece, designed or as cut, as STL or a picture",
                    std::string(kHelp) + job_fields_help + kOptionsHelp);
    add_job_options(*command, o->job);
    o->gcode_option = command->add_option("PROGRAM", o->gcode);
    o->spline_option = command->add_option("--spline", o->spline);
    command->add_option("--tooth", o->tooth);
    command->add_option("--axis", o->axis);
    command->add_option("--beam", o->beam);
    command->add_option("--tolerance", o->tolerance);
    o->stl_option = command->add_option("--stl", o->stl);
    o->png_option = command->add_option("--png", o->png);
    command->add_option("--size", o->size);
    command->add_option("--view", o->view);
    return {command, [o] { return run(*o); }};
}

}  // namespace ostrivane::cli
