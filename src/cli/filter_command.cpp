#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/job_fields.h"
#include "cli/turn_job.h"
#include "core/app/form_state.h"
#include "core/app/known_folders.h"
#include "core/app/state_file.h"
#include "core/editor/editor_components.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/number_parse.h"

namespace ostrivane::cli {
namespace {
namespace fs = std::filesystem;

constexpr const char* kHelp =
    "usage: ostrivane-cli filter FILE.spl|FILE.gof [--fast yes|no] [--axis MM] [--beam MM]\n"
    "                           [--tooth F.tnd] [--set NAME=TEXT]...\n"
    "\n"
    "A program filter for LinuxCNC's AXIS, which runs it with the path of a profile (.spl) or\n"
    "a program (.gof) and opens what it prints. Writes the turning program of the file to\n"
    "standard output, byte for byte as \"ostrivane-cli turn ... --output -\": for FILE.gof its\n"
    "settings and the profile saved with it (FILE.spl beside it); for FILE.spl the settings of\n"
    "Settings.ini in the data folder (the window's defaults without one). The tooth file\n"
    "chosen in the window, and the turn axis and beam thickness last used in the spline\n"
    "editor, are taken from the data folder unless given. Progress goes to standard error as\n"
    "lines FILTER_PROGRESS=N, N from 0 to 100, and the job's messages with it. A job that\n"
    "fails exits with 1 and its reason on standard error, which AXIS shows.\n"
    "Nobody can answer the fast rough question in AXIS: a job that would ask it uses the\n"
    "normal rough routine, unless --fast yes is given in the INI line.\n"
    "\n"
    "  --fast ANSWER     yes: the fast rough routine; no: the normal one (default)\n"
    "  --axis MM         the editor's \"Turn axis position (mm)\"\n"
    "  --beam MM         the editor's \"Beam thickness (mm)\"\n"
    "  --tooth FILE      the tooth file (default: the one chosen in the window, if any)\n"
    "  --set NAME=TEXT   set one main-window field after the settings are read\n";

struct FilterOptions {
    CLI::Option* file_option = nullptr;
    std::string file;
    std::string fast = "no";
    CLI::Option* axis_option = nullptr;
    double axis = 100;
    CLI::Option* beam_option = nullptr;
    double beam = 100;
    CLI::Option* tooth_option = nullptr;
    std::string tooth;
    std::vector<std::string> settings;
};

// Progress as AXIS reads it: a line FILTER_PROGRESS=N whenever the whole percent grows. The
// job reports its steps one after the other, each from 0 to all of it: the search of the
// profile's turning points first, which is quick, then the passes, which take the time. The
// first gets the first tenth of the bar, the rest the remainder.
class FilterProgress final : public JobContext {
  public:
    void progress(double done, double total) override {
        if (!(total > 0))
            return;
        const double share = std::clamp(done / total, 0.0, 1.0);
        if (share < last_share_)
            later_steps_ = true;
        last_share_ = share;
        say(static_cast<int>(later_steps_ ? 10 + 90 * share : 10 * share));
    }
    void say(int percent) {
        if (percent <= last_)
            return;
        last_ = percent;
        std::cerr << "FILTER_PROGRESS=" << percent << std::endl;
    }

  private:
    int last_ = -1;
    double last_share_ = 0;
    bool later_steps_ = false;
};

// The texts of the spline editor's fields as drawspline.ini keeps them.
class EditorTexts final : public FormAccess {
  public:
    std::string component_text(std::string_view key) const override {
        const auto it = texts_.find(std::string(key));
        return it == texts_.end() ? std::string() : it->second;
    }
    void set_component_text(std::string_view key, std::string_view text) override {
        texts_[std::string(key)] = std::string(text);
    }
    bool component_checked(std::string_view) const override { return false; }
    void set_component_checked(std::string_view, bool) override {}

    std::optional<double> number(std::string_view field) const {
        return parse_float(component_text(std::string(field) + "Ed"));
    }

  private:
    std::map<std::string, std::string> texts_;
};

int run(const FilterOptions& o) {
    const fs::path file = required(o.file_option, o.file, "FILE.spl or FILE.gof");
    if (o.fast != "yes" && o.fast != "no")
        throw UsageError{"--fast takes yes or no, not " + o.fast};
    const fs::path data = data_folder();
    const fs::path settings_file = data / "Settings.ini";
    std::string extension = file.extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

    std::optional<std::string> program;
    fs::path spline;
    if (extension == ".gof") {
        program = file.string();
        spline = fs::path(file).replace_extension(".spl");
        if (!fs::exists(spline))
            throw Error("The profile of " + file.string() + " is missing: " + spline.string());
    } else if (extension == ".spl") {
        spline = file;
        if (fs::exists(settings_file))
            program = settings_file.string();
    } else {
        throw Error(file.string() + " is neither a profile (.spl) nor a program (.gof)");
    }

    TurnRequest request(job_fields(program, o.settings));
    request.spline = spline.string();
    request.output = "-";
    request.fast = o.fast == "yes" ? Operator::Answer::Yes : Operator::Answer::No;
    if (o.tooth_option->count() > 0) {
        request.tooth = o.tooth;
    } else if (fs::exists(settings_file)) {
        const std::string bytes = read_state_file(settings_file);
        request.tooth = read_ini_key(bytes, tnd_section, tnd_key).value_or(std::string());
    }
    EditorTexts editor;
    if (fs::exists(data / editor_state_file))
        restore_state_file(data / editor_state_file, editor_components(), editor);
    request.axis = o.axis_option->count() > 0 ? o.axis : editor.number("axispos").value_or(100);
    request.beam = o.beam_option->count() > 0 ? o.beam : editor.number("beamthick").value_or(100);

    FilterProgress progress;
    request.context = &progress;
    progress.say(0);
    const int code = run_turning(request);
    progress.say(100);
    if (code != 0)
        std::cerr << "The turning job of " << file.string() << " failed: see the messages above\n";
    return code;
}

}  // namespace

Command add_filter_command(CLI::App& tool) {
    auto o = std::make_shared<FilterOptions>();
    CLI::App* command =
        add_command(tool, "filter", "LinuxCNC's program filter for .spl and .gof", kHelp);
    o->file_option = command->add_option("FILE", o->file);
    command->add_option("--fast", o->fast);
    o->axis_option = command->add_option("--axis", o->axis);
    o->beam_option = command->add_option("--beam", o->beam);
    o->tooth_option = command->add_option("--tooth", o->tooth);
    command->add_option("--set", o->settings)->allow_extra_args(false);
    return {command, [o] { return run(*o); }};
}

}  // namespace ostrivane::cli
