#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_operator.h"
#include "cli/commands.h"
#include "cli/job_fields.h"
#include "cli/output_target.h"
#include "cli/turning_profile.h"
#include "core/app/field_source.h"
#include "core/app/known_folders.h"
#include "core/check/check_picture.h"
#include "core/check/check_report.h"
#include "core/check/cut_check.h"
#include "core/check/job_check.h"
#include "core/check/machine_limits.h"
#include "core/fingerjoint/fast_rec.h"
#include "core/fingerjoint/tooth_file.h"
#include "core/gcode/machine_settings.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/json_text.h"
#include "core/text/number_parse.h"
#include "core/toolpath/tooth_reader.h"

namespace ostrivane::cli {
namespace {

constexpr const char* kHelp =
    "usage: ostrivane-cli check PROGRAM.ngc [--program F.gof | --spline F.spl] [--tooth F.tnd]\n"
    "                          [--set NAME=TEXT]... [--axis MM] [--beam MM]\n"
    "                          [--machine LINUXCNC.ini] [--kind turning|fingerjoint]\n"
    "                          [--tolerance MM] [--json] [--png F.png]\n"
    "\n"
    "Reads a G-code program (with the axis letters, inversions and feeds of the settings, so a\n"
    "program written with another mapping reads back correctly) and simulates what it cuts:\n"
    "for a turning program the highest the saw's top reaches along x (the envelope) against\n"
    "the profile deepened by the job's tooth slots, the largest overcut and material left\n"
    "(overall and per pass: rough, fast rough, fine), and whether the saw outline of\n"
    "saw_def.txt meets the beam; for a finger-joint program its slots against the tooth file\n"
    "or the fields. The run time follows a model of LinuxCNC 2.9's trajectory planner in the\n"
    "path mode the program sets (the start-up mode, blending within 0.0254 mm, until a G61 or\n"
    "G64), with the limits of --machine.\n"
    "The design is the profile itself, every branch of it where it doubles back in x (the\n"
    "lowest one over each x); each move is judged over the whole width of the saw. A list of\n"
    "more than 100 slots is summarised: their count, and those not cut as designed.\n"
    "Exit status: 0 within the tolerance, 3 when the program cuts into the design or the saw\n"
    "outline meets the material, 1 for an error (the line that cannot be read is named) or a\n"
    "program that makes no move.\n"
    "\n";

constexpr const char* kOptionsHelp =
    "  --spline FILE     the profile; default: <data folder>/<Smot_name>.spl\n"
    "  --tooth FILE      the tooth file: the slots of a turning job (with UseTND or doublet\n"
    "                    set, as the job cuts them), or of a finger joint (default: its fields)\n"
    "  --axis MM         the editor's \"Turn axis position (mm)\" (default 100)\n"
    "  --beam MM         the editor's \"Beam thickness (mm)\" (default 100)\n"
    "  --machine FILE    the LinuxCNC configuration whose [AXIS_*], [JOINT_*], [TRAJ] and\n"
    "                    [EMCMOT] limits time the moves (default: 25 mm/s and 200 mm/s^2 per\n"
    "                    axis)\n"
    "  --kind KIND       turning or fingerjoint: what the program is (default: its header\n"
    "                    tells, by the order of G91 and G28.1)\n"
    "  --tolerance MM    the overcut that still passes (default 0.05)\n"
    "  --json            one JSON object instead of the paragraph\n"
    "  --png FILE        a picture: design black, envelope blue, overcut red, material left\n"
    "                    grey\n";

// The options of one check, as the command line gave them.
struct CheckOptions {
    JobOptions job;
    CLI::Option* program_option = nullptr;
    std::string program;
    CLI::Option* spline_option = nullptr;
    std::string spline;
    CLI::Option* tooth_option = nullptr;
    std::string tooth;
    CLI::Option* axis_option = nullptr;
    std::string axis;
    CLI::Option* beam_option = nullptr;
    std::string beam;
    CLI::Option* machine_option = nullptr;
    std::string machine;
    std::string kind;
    CLI::Option* tolerance_option = nullptr;
    std::string tolerance;
    bool json = false;
    CLI::Option* png_option = nullptr;
    std::string png;
};

// The kind --kind names; nullopt (the header tells) without it.
std::optional<ProgramKind> program_kind_option(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    if (text == "turning")
        return ProgramKind::turning;
    if (text == "fingerjoint")
        return ProgramKind::finger_joint;
    throw UsageError{"--kind takes turning or fingerjoint, not " + printable_excerpt(text, 40)};
}

class StderrNotices final : public MessageSink {
  public:
    using MessageSink::notice;
    void notice(const std::string& text, std::uint32_t, bool) override {
        std::cerr << text << '\n';
    }
};

// A number of the command line, read as strictly as a field: no blanks for nothing, no "nan",
// "inf", hex or a value beyond a double.
double number_option(const std::optional<std::string>& text, double otherwise,
                     std::string_view label) {
    if (!text)
        return otherwise;
    const auto value = parse_float(*text);
    if (!value)
        throw Error(float_error_message(*text, label));
    return *value;
}

int run(const CheckOptions& o) {
    const std::filesystem::path program = required(o.program_option, o.program, "PROGRAM.ngc");
    const auto spline_file = given(o.spline_option, o.spline);
    const auto tooth = given(o.tooth_option, o.tooth);
    const auto machine = given(o.machine_option, o.machine);
    const auto png = given(o.png_option, o.png);
    const double axis = number_option(given(o.axis_option, o.axis), 100, "Turn axis position (mm)");
    const double beam = number_option(given(o.beam_option, o.beam), 100, "Beam thickness (mm)");
    const double tolerance =
        number_option(given(o.tolerance_option, o.tolerance), 0.05, "--tolerance");
    const bool json = o.json;
    if (!(tolerance >= 0))
        throw UsageError{"--tolerance takes a length of 0 or more"};
    // The report has standard output; a picture there would garble both.
    if (png && names_standard_output(*png))
        throw UsageError{"--png needs a file name: the report goes to standard output"};
    FieldValues fields = job_fields(o.job);

    CheckInputs inputs;
    inputs.settings = read_machine_settings(fields);
    inputs.tolerance = tolerance;
    if (machine)
        inputs.limits = machine_limits_of_file(*machine);
    inputs.kind = program_kind_option(o.kind);

    // The design of the program's kind is built once the reading has told the kind.
    StderrNotices notices;
    const MainLog log = [](std::string_view text, bool) { std::cerr << text << '\n'; };
    std::optional<Profile> drawing;
    std::optional<TGrad> engine;
    std::optional<TurningDesign> turning;
    std::optional<JointDesign> joint;
    inputs.design_for = [&](ProgramKind kind, CheckInputs& in) {
        if (kind == ProgramKind::turning) {
            drawing.emplace(notices);
            engine.emplace(*drawing, notices, data_folder(), log);
            const std::string tooth_file = tooth.value_or(std::string());
            const bool use_tooth = set_turning_check_job(*engine, fields, axis, beam, tooth_file);
            const std::filesystem::path profile =
                load_turning_profile(*engine, spline_file, fields, notices);
            if (engine->profile.Nopoints < 2)
                throw Error("No profile to check " + program.string() + " against: " +
                            profile.string() + " holds none (give it with --spline or --program)");
            turning.emplace(*engine, turning_check_slots(*engine, use_tooth, tooth_file));
            in.turning = &*turning;
        } else {
            CliOperator op;
            TfastRec rec;
            if (!Getdata(fields, op, rec))
                throw Error("The finger-joint fields describe no joint to check against");
            joint = tooth
                        ? joint_design_of_tooth_file(
                              rec, read_file_limited(*tooth, ToothFile::kMaxBytes, "a tooth file"),
                              *tooth)
                        : joint_design_of_fields(rec);
            in.joint = &*joint;
        }
    };

    const CheckReport report = check_named_program(program, inputs);
    if (json)
        std::cout << check_json(report) << '\n';
    else
        std::cout << check_paragraph(report, program.filename().string()) << '\n';
    if (png)
        write_file_atomically(*png, png_bytes(draw_check(report)));
    return check_exit_code(report);
}

}  // namespace

Command add_check_command(CLI::App& tool) {
    auto o = std::make_shared<CheckOptions>();
    CLI::App* command = add_command(
        tool, "check", "what a G-code program cuts against its design, and its run time",
        std::string(kHelp) + job_fields_help + kOptionsHelp);
    add_job_options(*command, o->job);
    o->program_option = command->add_option("PROGRAM", o->program);
    o->spline_option = command->add_option("--spline", o->spline);
    o->tooth_option = command->add_option("--tooth", o->tooth);
    o->axis_option = command->add_option("--axis", o->axis);
    o->beam_option = command->add_option("--beam", o->beam);
    o->machine_option = command->add_option("--machine", o->machine);
    command->add_option("--kind", o->kind);
    o->tolerance_option = command->add_option("--tolerance", o->tolerance);
    command->add_flag("--json", o->json);
    o->png_option = command->add_option("--png", o->png);
    return {command, [o] { return run(*o); }};
}

}  // namespace ostrivane::cli
