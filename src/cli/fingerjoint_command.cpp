#include <iostream>

#include "cli/cli_operator.h"
#include "cli/commands.h"
#include "cli/job_fields.h"
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
    "  --output FILE     write exactly this file\n"
    "\n"
    "The Documents folder is $XDG_DOCUMENTS_DIR, else the XDG_DOCUMENTS_DIR entry of\n"
    "$XDG_CONFIG_HOME/user-dirs.dirs (normally ~/.config/user-dirs.dirs), else ~/Documents.\n";

// A batch run writes its file whole or not at all, so a failed run leaves nothing to mistake
// for a program. The Documents folder is looked up only when it is needed, so --output works
// without a home folder.
OutputDestination destination(Arguments& args) {
    OutputDestination d;
    if (auto output = args.take_option("--output"))
        d.exact_file = *output;
    else
        d.documents_folder = documents_folder();
    d.all_or_nothing = true;
    return d;
}

}  // namespace

int fingerjoint_command(Arguments args) {
    if (args.take_flag("--help")) {
        std::cout << kFingerjointHelp << job_fields_help << kOutputHelp;
        return 0;
    }
    const OutputDestination where = destination(args);
    FieldValues fields = job_fields(args);
    args.expect_end();
    CliOperator op;
    TfastRec fast_record;
    JobContext never_cancelled;
    return write_motClick(fields, op, fast_record, where, never_cancelled) ? 0 : 1;
}

int tooth_command(Arguments args) {
    if (args.take_flag("--help")) {
        std::cout << kToothHelp << job_fields_help << kOutputHelp;
        return 0;
    }
    const OutputDestination where = destination(args);
    const FieldValues fields = job_fields(args);
    args.expect_end();
    CliOperator op;
    TfastRec fast_record;
    JobContext never_cancelled;
    return write_tndClick(fields, op, fast_record, where, never_cancelled) ? 0 : 1;
}

}  // namespace ostrivane::cli
