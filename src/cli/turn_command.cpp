#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/job_fields.h"
#include "cli/output_target.h"
#include "cli/turn_job.h"
#include "cli/turning_profile.h"
#include "core/app/field_source.h"
#include "core/app/known_folders.h"
#include "core/curve/dxf_profile.h"
#include "core/text/error.h"
#include "core/text/number_format.h"
#include "core/text/number_parse.h"
#include "core/toolpath/turning_job.h"

namespace ostrivane::cli {
namespace {

constexpr const char* kHelp =
    "usage: ostrivane-cli turn [--program F] [--set NAME=TEXT]... [--spline F.spl]\n"
    "                          [--tooth F.tnd] [--axis MM] [--beam MM] [--fast yes|no|cancel]\n"
    "                          [--output F.ngc]\n"
    "\n"
    "Writes the turning program of the \"Dynamic turning\" tab, byte for byte as \"Calculate\n"
    "for milling\" (F7) in the spline editor: the profile's saw positions, the tooth slots,\n"
    "the rough (or fast rough) and fine passes for every repetition, and the recorded moves.\n"
    "Without --output the program goes where the window puts it: the G-code folder setting,\n"
    "else the Documents folder, named after Smot_name. The messages the window shows go to\n"
    "standard error in the same order. A spline file that gives no profile (another version,\n"
    "damaged, empty) and a program name that leads out of its folder are refused before any\n"
    "file is made. A calculation that fails (for example a plunge beyond\n"
    "the turning axis) still writes the program as far as it got, names the failure instead of\n"
    "calling the file created, and exits with 1; any other error writes nothing and exits\n"
    "with 1.\n"
    "\n";

constexpr const char* kOptionsHelp =
    "  --spline FILE     the profile; default: <data folder>/<Smot_name>.spl, as the editor\n"
    "                    loads it (no file there: an empty profile)\n"
    "  --tooth FILE      the tooth file chosen with \"Load .tnd file\" (default: none)\n"
    "  --axis MM         the editor's \"Turn axis position (mm)\" (default 100)\n"
    "  --beam MM         the editor's \"Beam thickness (mm)\" (default 100)\n"
    "  --fast ANSWER     answers the fast rough question: yes, no or cancel; a job that asks\n"
    "                    it stops without this\n"
    "  --output FILE     write exactly this file; - writes it to standard output\n";

// The messages of the job: the window's line breaks become new lines, and the file the job
// writes is named as the operator gave it.
class Messages {
  public:
    explicit Messages(const OutputTarget& target) : target_(target) {}
    void say(std::string_view text) const;

  private:
    const OutputTarget& target_;
};

void Messages::say(std::string_view text) const {
    std::string line = target_.shown(text);
    // The window's line breaks are carriage returns; a terminal wants new lines.
    for (char& c : line) {
        if (c == '\r')
            c = '\n';
    }
    std::cerr << line << '\n';
}

// The notices the editor's message label would show.
class StderrSink final : public MessageSink {
  public:
    explicit StderrSink(const Messages& messages) : messages_(messages) {}
    using MessageSink::notice;
    void notice(const std::string& text, std::uint32_t, bool) override { messages_.say(text); }

  private:
    const Messages& messages_;
};

// Messages to standard error; the fast rough question answered by --fast.
class TurnOperator final : public Operator {
  public:
    TurnOperator(std::optional<Answer> fast, const Messages& messages)
        : fast_(fast), messages_(messages) {}
    void information(std::string_view message) override { messages_.say(message); }
    bool ask_yes_no(std::string_view question) override {
        throw Error(std::string(question) + " (the command line cannot answer this)");
    }
    Answer ask_yes_no_cancel(std::string_view question) override {
        if (!fast_) {
            throw Error("The job asks: \"" + std::string(question) +
                        "\". Answer it with --fast yes, --fast no or --fast cancel.");
        }
        messages_.say(std::string(question) + ' ' +
                      (*fast_ == Answer::Yes  ? "Yes"
                       : *fast_ == Answer::No ? "No"
                                              : "Cancel"));
        return *fast_;
    }

  private:
    std::optional<Answer> fast_;
    const Messages& messages_;
};

struct TurnOptions {
    JobOptions job;
    CLI::Option* output_option = nullptr;
    std::string output;
    CLI::Option* spline_option = nullptr;
    std::string spline;
    std::string tooth;
    CLI::Option* axis_option = nullptr;
    std::string axis;
    CLI::Option* beam_option = nullptr;
    std::string beam;
    CLI::Option* fast_option = nullptr;
    std::string fast;
};

std::optional<Operator::Answer> fast_answer(const TurnOptions& o) {
    const auto word = given(o.fast_option, o.fast);
    if (!word)
        return std::nullopt;
    if (*word == "yes")
        return Operator::Answer::Yes;
    if (*word == "no")
        return Operator::Answer::No;
    if (*word == "cancel")
        return Operator::Answer::Cancel;
    throw UsageError{"--fast takes yes, no or cancel, not " + *word};
}

double millimetres(const std::optional<std::string>& text, std::string_view label) {
    if (!text)
        return 100;
    const auto value = parse_float(*text);
    if (!value)
        throw Error(float_error_message(*text, label));
    return *value;
}

// The most moves a turning program may be expected to hold: some gigabytes of G-code. A metre of
// profile at the default 1000 samples per millimetre, with ten runs to full height repeated four
// times, comes to 4e7; a job beyond this limit was set up by mistake and would write for days.
constexpr double kMaxTurningMoves = 2e8;

// A count of the turning tab, known to be a whole number from 0 to kMaxTurningCount.
double count_of(const FieldValues& fields, const char* field) {
    return validate_integer(fields, field);
}

// Refuses, before the program file is touched, a job whose program would hold no cut or would
// not end in any reasonable time: an old program of the same name stays as it was. Settings the
// job refuses before its file by itself (counts and heights out of range, a saw of no width, too
// few samples per millimetre) are left to it.
void check_turning_job(const TGrad& engine, const FieldValues& fields,
                       const std::filesystem::path& profile_file) {
    const TBetaSPLpoints& profile = engine.profile;
    const double w = profile.mill_width;
    const double samples_per_mm = profile.steps_mm_x;
    if (turning_job_out_of_range(fields) || !(w > 0) || !(samples_per_mm >= 1))
        return;
    if (profile.Nopoints < 2) {
        throw Error("There is no profile to turn: " + profile_file.string() +
                    " does not exist (draw one in the editor, or give --spline)");
    }
    for (int k = 0; k < profile.Nopoints; ++k) {
        const double x = profile.X.Tomatch[k];
        const double y = profile.Y.Tomatch[k];
        if (!(std::fabs(x) <= kImportCoordinateLimit && std::fabs(y) <= kImportCoordinateLimit)) {
            throw Error("Point " + std::to_string(k + 1) + " of the profile (" + format_general(x) +
                        ", " + format_general(y) + ") lies beyond the working range of ±" +
                        format_general(kImportCoordinateLimit) + " mm");
        }
    }
    if (count_of(fields, "repeater") < 1)
        throw Error(fields.label("repeater") +
                    " must be at least 1: with 0 the program cuts nothing.");
    // Each rough run steps the saw along the profile once, a saw width at a time; each run to
    // full height steps at least a sample at a time. The estimate is an upper bound.
    const double span = profile.X.Tomatch[profile.Nopoints - 1] - profile.X.Tomatch[0];
    const double moves = count_of(fields, "repeater") *
                         (count_of(fields, "runsdepth") * (span / w + 1) +
                          count_of(fields, "runsheight") * (span * samples_per_mm + 1));
    if (!(moves <= kMaxTurningMoves)) {
        throw Error(
            "The program would hold about " + format_general(std::ceil(moves)) + " moves (" +
            fields.label("repeater") + " × (" + fields.label("runsdepth") + " × saw positions + " +
            fields.label("runsheight") + " × samples along the profile)), more than the " +
            format_general(kMaxTurningMoves) + " a turning program may hold: lower the counts or " +
            fields.label("resolution") + ", or widen the saw.");
    }
}

int run(const TurnOptions& o) {
    const auto output = given(o.output_option, o.output);
    const auto spline = given(o.spline_option, o.spline);
    const double axis = millimetres(given(o.axis_option, o.axis), "Turn axis position (mm)");
    const double beam = millimetres(given(o.beam_option, o.beam), "Beam thickness (mm)");
    const auto fast = fast_answer(o);
    TurnRequest request(job_fields(o.job));
    request.output = output;
    request.spline = spline;
    request.tooth = o.tooth;
    request.axis = axis;
    request.beam = beam;
    request.fast = fast;
    return run_turning(request);
}

}  // namespace

int run_turning(const TurnRequest& request) {
    const OutputTarget target(request.output);
    OutputDestination where{documents_folder()};
    where.exact_file = target.file();
    // A batch run writes its file whole or not at all.
    where.all_or_nothing = true;
    FieldValues fields = request.fields;

    const Messages messages(target);
    TurnOperator op(request.fast, messages);
    const MainLog log = [&messages](std::string_view text, bool) { messages.say(text); };
    StderrSink notices(messages);

    // The engine exists from the program's start; opening the editor reads the tab, hands it
    // over and loads the profile.
    Profile drawing(notices);
    TGrad engine(drawing, notices, data_folder(), log);
    const TsplineRec rec = read_job_settings(fields);
    announce_second_spline(rec, request.tooth, op, log);
    engine.set_data(turning_parameters(rec, request.axis, request.beam, request.tooth));
    const auto profile_file = load_turning_profile(engine, request.spline, fields, notices);
    check_turning_job(engine, fields, profile_file);

    JobContext plain;
    JobContext& context = request.context != nullptr ? *request.context : plain;
    const TurningResult result =
        write_turning_job(engine, fields, op, drawing.moves, where, context);
    // A failed calculation still leaves its program as far as it got, as the file would.
    if (result.file)
        target.deliver();
    return result.file && !result.failed ? 0 : 1;
}

Command add_turn_command(CLI::App& tool) {
    auto o = std::make_shared<TurnOptions>();
    CLI::App* command = add_command(tool, "turn", "write the turning program of a profile (F7)",
                                    std::string(kHelp) + job_fields_help + kOptionsHelp);
    add_job_options(*command, o->job);
    o->spline_option = command->add_option("--spline", o->spline);
    command->add_option("--tooth", o->tooth);
    o->axis_option = command->add_option("--axis", o->axis);
    o->beam_option = command->add_option("--beam", o->beam);
    o->fast_option = command->add_option("--fast", o->fast);
    o->output_option = command->add_option("--output", o->output);
    return {command, [o] { return run(*o); }};
}

}  // namespace ostrivane::cli
