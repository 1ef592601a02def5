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
    "G-code folder setting, else the Documents folder, named after mot_name. The messages the\n"
    "window shows go to standard error. On any error nothing is written and the exit code is 1.\n"
    "\n";

constexpr const char* kToothHelp =
    "usage: ostrivane-cli tooth [--program F] [--set NAME=TEXT]... [--output FILE.tnd]\n"
    "\n"
    "Writes the tooth file of the finger joint on the \"3-axis finger joint\" tab. Without\n"
    "--output it goes to the Documents folder, named after mot_name. The messages the window\n"
    "shows go to standard error. On any error nothing is written and the exit code is 1.\n"
    "\n";

constexpr const char* kOutputHelp = "  --output FILE     write exactly this file\n";

// A batch run writes its file whole or not at all, so a failed run leaves nothing to mistake
// for a program.
OutputDestination destination(Arguments& args) {
    OutputDestination d{documents_folder()};
    if (auto output = args.take_option("--output"))
        d.exact_file = *output;
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
    return write_motClick(fields, op, fast_record, where) ? 0 : 1;
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
    return write_tndClick(fields, op, fast_record, where) ? 0 : 1;
}

}  // namespace ostrivane::cli
