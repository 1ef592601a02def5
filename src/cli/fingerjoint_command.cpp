#include <memory>
#include <optional>
#include <string>

#include "cli/cli_operator.h"
#include "cli/commands.h"
#include "cli/job_fields.h"
#include "cli/output_target.h"
#include "core/app/known_folders.h"
#include "core/fingerjoint/fast_rec.h"
#include "core/fingerjoint/finger_joint_program.h"
#include "core/fingerjoint/tooth_file.h"

namespace ostrivane::cli {
namespace {

constexpr const char* kFingerjointHelp =
    "usage: ostrivane-cli fingerjoint [--program F] [--set NAME=TEXT]... [--output FILE.ngc]\n"
    "\n"
    "Writes the finger-joint G-code program from the fields of the \"3-axis finger joint\" tab\n"
    "and the Settings tab. Without --output the file goes where the window puts it: the\n"
    "G-code folder setting, else the Documents folder (created when it is missing), named after\n"
    "mot_name. The messages the window shows go to standard error. On any error nothing is\n"
    "written and the exit code is 1.\n"
    "\n";

constexpr const char* kToothHelp =
    "usage: ostrivane-cli tooth [--program F] [--set NAME=TEXT]... [--output FILE.tnd]\n"
    "\n"
    "Writes the tooth file of the finger joint on the \"3-axis finger joint\" tab. Without\n"
    "--output it goes to the Documents folder (created when it is missing), named after\n"
    "mot_name. The messages the window shows go to standard error. On any error nothing is\n"
    "written and the exit code is 1.\n"
    "\n";

constexpr const char* kOutputHelp =
    "  --output FILE     write exactly this file; - writes it to standard output\n"
    "\n"
    "The Documents folder is $XDG_DOCUMENTS_DIR, else the XDG_DOCUMENTS_DIR entry of\n"
    "$XDG_CONFIG_HOME/user-dirs.dirs (normally ~/.config/user-dirs.dirs), else ~/Documents.\n";

struct FingerJointOptions {
    JobOptions job;
    CLI::Option* output_option = nullptr;
    std::string output;
};

// A batch run writes its file whole or not at all, so a failed run leaves nothing to mistake
// for a program. The Documents folder is looked up only when it is needed, so --output works
// without a home folder.
OutputDestination destination(const OutputTarget& target) {
    OutputDestination d;
    if (target.given())
        d.exact_file = target.file();
    else
        d.documents_folder = documents_folder();
    d.all_or_nothing = true;
    return d;
}

using Writer = std::optional<std::string> (*)(FieldValues&, Operator&, TfastRec&,
                                              const OutputDestination&, JobContext&);

int run(const FingerJointOptions& o, Writer write) {
    const OutputTarget target(given(o.output_option, o.output));
    const OutputDestination where = destination(target);
    FieldValues fields = job_fields(o.job);
    CliOperator op(std::nullopt, &target);
    TfastRec fast_record;
    JobContext never_cancelled;
    if (!write(fields, op, fast_record, where, never_cancelled))
        return 1;
    target.deliver();
    return 0;
}

Command add(CLI::App& tool, const std::string& name, const std::string& summary,
            const std::string& help, Writer write) {
    auto o = std::make_shared<FingerJointOptions>();
    CLI::App* command = add_command(tool, name, summary, help + job_fields_help + kOutputHelp);
    add_job_options(*command, o->job);
    o->output_option = command->add_option("--output", o->output);
    return {command, [o, write] { return run(*o, write); }};
}

}  // namespace

Command add_fingerjoint_command(CLI::App& tool) {
    return add(tool, "fingerjoint", "write the finger-joint G-code program", kFingerjointHelp,
               [](FieldValues& fields, Operator& op, TfastRec& rec, const OutputDestination& where,
                  JobContext& context) { return write_motClick(fields, op, rec, where, context); });
}

Command add_tooth_command(CLI::App& tool) {
    return add(tool, "tooth", "write the finger-joint tooth file (.tnd)", kToothHelp,
               [](FieldValues& fields, Operator& op, TfastRec& rec, const OutputDestination& where,
                  JobContext& context) { return write_tndClick(fields, op, rec, where, context); });
}

}  // namespace ostrivane::cli
