#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "cli/cli_operator.h"
#include "cli/commands.h"
#include "cli/job_fields.h"
#include "core/app/known_folders.h"
#include "core/check/check_picture.h"
#include "core/check/check_report.h"
#include "core/check/cut_check.h"
#include "core/curve/spline_file.h"
#include "core/editor/spline_program.h"
#include "core/fingerjoint/fast_rec.h"
#include "core/fingerjoint/tooth_file.h"
#include "core/gcode/machine_settings.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/number_parse.h"
#include "core/toolpath/spline_rec.h"
#include "core/toolpath/tooth_reader.h"

namespace ostrivane::cli {
namespace {

constexpr const char* kHelp =
    "usage: ostrivane-cli check PROGRAM.ngc [--program F.gof | --spline F.spl] [--tooth F.tnd]\n"
    "                          [--set NAME=TEXT]... [--axis MM] [--beam MM]\n"
    "                          [--machine LINUXCNC.ini] [--tolerance MM] [--json] [--png F.png]\n"
    "\n"
    "Reads a G-code program (with the axis letters, inversions and feeds of the settings, so a\n"
    "program written with another mapping reads back correctly) and simulates what it cuts:\n"
    "for a turning program the highest the saw's top reaches along x (the envelope) against\n"
    "the profile deepened by the job's tooth slots, the largest overcut and material left\n"
    "(overall and per pass: rough, fast rough, fine), and whether the saw outline of\n"
    "saw_def.txt meets the beam; for a finger-joint program its slots against the tooth file\n"
    "or the fields. The run time assumes exact stop (every move starts and ends at rest), an\n"
    "upper bound of what a blending controller needs.\n"
    "Exit status: 0 within the tolerance, 3 when the program cuts into the design or the saw\n"
    "outline meets the material, 1 for an error (the line that cannot be read is named).\n"
    "\n";

constexpr const char* kOptionsHelp =
    "  --spline FILE     the profile; default: <data folder>/<Smot_name>.spl\n"
    "  --tooth FILE      the tooth file: the slots of a turning job (with UseTND or doublet\n"
    "                    set, as the job cuts them), or of a finger joint (default: its fields)\n"
    "  --axis MM         the editor's \"Turn axis position (mm)\" (default 100)\n"
    "  --beam MM         the editor's \"Beam thickness (mm)\" (default 100)\n"
    "  --machine FILE    the LinuxCNC configuration whose [AXIS_*], [JOINT_*] and [TRAJ]\n"
    "                    limits time the moves (default: 25 mm/s and 200 mm/s^2 per axis)\n"
    "  --tolerance MM    the overcut that still passes (default 0.05)\n"
    "  --json            one JSON object instead of the paragraph\n"
    "  --png FILE        a picture: design black, envelope blue, overcut red, material left\n"
    "                    grey\n";

// The largest machine configuration read.
constexpr std::uint64_t kMaxMachineFile = std::uint64_t{4} << 20;

double number_option(Arguments& args, std::string_view option, double fallback) {
    const auto text = args.take_option(option);
    if (!text)
        return fallback;
    const auto value = parse_float(*text);
    if (!value)
        throw UsageError{std::string(option) + " takes a number, not " + *text};
    return *value;
}

class StderrNotices final : public MessageSink {
  public:
    using MessageSink::notice;
    void notice(const std::string& text, std::uint32_t, bool) override {
        std::cerr << text << '\n';
    }
};

}  // namespace

int check_command(Arguments args) {
    if (args.take_flag("--help")) {
        std::cout << kHelp << job_fields_help << kOptionsHelp;
        return 0;
    }
    const auto spline_file = args.take_option("--spline");
    const auto tooth = args.take_option("--tooth");
    const double axis = number_option(args, "--axis", 100);
    const double beam = number_option(args, "--beam", 100);
    const auto machine = args.take_option("--machine");
    const double tolerance = number_option(args, "--tolerance", 0.05);
    const bool json = args.take_flag("--json");
    const auto png = args.take_option("--png");
    FieldValues fields = job_fields(args);
    const std::filesystem::path program = args.take("the program to check");
    args.expect_end();
    if (!(tolerance >= 0))
        throw UsageError{"--tolerance takes a length of 0 or more"};

    CheckInputs inputs;
    inputs.settings = read_machine_settings(fields);
    inputs.tolerance = tolerance;
    if (machine) {
        inputs.limits = read_linuxcnc_limits(
            read_file_limited(*machine, kMaxMachineFile, "a machine configuration"), *machine);
    }

    const auto named = [&](const Error& e) { return Error(program.string() + ": " + e.what()); };
    ProgramKind kind;
    try {
        kind = program_kind_of_file(program, inputs.settings);
    } catch (const Error& e) {
        throw named(e);
    }

    StderrNotices notices;
    const MainLog log = [](std::string_view text, bool) { std::cerr << text << '\n'; };
    std::optional<TGrad> engine;
    std::optional<TurningDesign> turning;
    std::optional<JointDesign> joint;
    if (kind == ProgramKind::turning) {
        engine.emplace(notices, data_folder(), log);
        const TsplineRec rec = read_job_settings(fields);
        const bool use_tooth = tooth && (fields.checked("UseTND") || fields.checked("doublet"));
        engine->set_data(rec, axis, beam, use_tooth ? *tooth : "");
        const SplineProgramFiles files =
            spline_program_files(data_folder(), fields.text("Smot_name"));
        const std::filesystem::path profile =
            spline_file ? std::filesystem::path(*spline_file) : files.spl;
        const auto bytes = read_file_if_exists(profile, kMaxSplineFileBytes, "a spline file");
        RecordedMoves moves;
        if (bytes)
            read_spline_file(*bytes, *engine, engine->spline2, moves, notices, 1000);
        if (engine->Nopoints < 2)
            throw Error("No profile to check " + program.string() + " against: " +
                        profile.string() + " holds none (give it with --spline or --program)");
        std::vector<DesignSlot> slots;
        if (use_tooth) {
            slots = turning_slots(
                *engine, read_file_limited(*tooth, ToothFile::kMaxBytes, "a tooth file"), *tooth);
        }
        turning.emplace(*engine, std::move(slots));
        inputs.turning = &*turning;
    } else {
        CliOperator op;
        TfastRec rec;
        if (!Getdata(fields, op, rec))
            throw Error("The finger-joint fields describe no joint to check against");
        joint = tooth ? joint_design_of_tooth_file(
                            rec, read_file_limited(*tooth, ToothFile::kMaxBytes, "a tooth file"),
                            *tooth)
                      : joint_design_of_fields(rec);
        inputs.joint = &*joint;
    }

    CheckReport report;
    try {
        report = check_program_file(program, inputs);
    } catch (const Error& e) {
        throw named(e);
    }
    if (json)
        std::cout << check_json(report) << '\n';
    else
        std::cout << check_paragraph(report, program.filename().string()) << '\n';
    if (png)
        write_file_atomically(*png, png_bytes(draw_check(report)));
    return check_exit_code(report);
}

}  // namespace ostrivane::cli
