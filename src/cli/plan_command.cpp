#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "cli/commands.h"
#include "cli/job_fields.h"
#include "cli/output_target.h"
#include "core/app/field_source.h"
#include "core/app/known_folders.h"
#include "core/app/program_paths.h"
#include "core/curve/profile_load.h"
#include "core/curve/spline_file.h"
#include "core/editor/working_range.h"
#include "core/planner/plan_drawing.h"
#include "core/planner/plan_json.h"
#include "core/planner/plank_plan.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/message_sink.h"
#include "core/text/number_format.h"
#include "core/text/number_parse.h"
#ifdef OSTRIVANE_WITH_QT
#include "render/offscreen_application.h"
#include "render/plan_dxf.h"
#include "render/plan_pdf.h"
#include "render/plan_svg.h"
#endif

namespace ostrivane::cli {
namespace {

constexpr const char* kHelp =
    "usage: ostrivane-cli plan [--program F] [--set NAME=TEXT]... [--spline F.spl] [--axis MM]\n"
    "                          [--thickness MM] [--margin MM] [--plank N] [--page WxH]\n"
    "                          [--dpi D|DXxDY] [--json] [--pdf F.pdf] [--no-marks]\n"
    "                          [--svg F.svg] [--dxf F.dxf] [--date DD/MM/YYYY]\n"
    "\n"
    "The saw plan of a turned profile, as \"Create saw plans\" makes it: the planks of the\n"
    "glued-up blank, the outline of one plank's template, its scale and orientation on the\n"
    "printer's pages, and the pages themselves.\n"
    "\n"
    "  --spline F.spl    the profile (default: the spline file of the program named by\n"
    "                    Smot_name in the data folder)\n"
    "  --axis MM         the editor's turn axis position (default 100)\n"
    "  --thickness MM    plank thickness (default 18)\n"
    "  --margin MM       diameter margin (default 10)\n"
    "  --plank N         the plank list entry, from 1; 0 for none (default 1)\n"
    "  --page WxH        the printable page in printer dots (default 827x1169, A4 at 100 dpi)\n"
    "  --dpi D|DXxDY     the printer's resolution in dots per inch (default 100)\n"
    "  --json            print the whole plan as one line of JSON\n"
    "  --pdf F.pdf       write the printed pages as a PDF at true scale (- for standard output,\n"
    "                    as for --svg and --dxf; the summary then goes to standard error)\n"
    "  --no-marks        leave out the scale bar and the joining marks on the printed pages\n"
    "  --svg F.svg       write the plank templates at 1:1 in millimetres as an SVG drawing\n"
    "  --dxf F.dxf       ... and as a DXF drawing; both hold every plank side by side, or\n"
    "                    only the plank that --plank names\n"
    "  --date D          the date printed on the pages (default today)\n"
    "The fields resolution, match1, Ssaw_width and Smot_name of the main window apply.\n"
    "\n";

// Notices go to standard error as they come, so --json keeps standard output to itself.
struct ErrSink final : MessageSink {
    using MessageSink::notice;
    void notice(const std::string& text, std::uint32_t, bool) override {
        std::cerr << text << '\n';
        ++count;
    }
    int count = 0;
};

double number_option(const std::optional<std::string>& text, double fallback,
                     std::string_view label) {
    if (!text)
        return fallback;
    const auto value = parse_float(*text);
    if (!value)
        throw Error(float_error_message(*text, label));
    return *value;
}

// "WxH" (or a single number for both, when `single` is allowed) as two numbers above 0.
std::pair<double, double> pair_option(const std::string& text, std::string_view option,
                                      bool single) {
    const std::size_t x = text.find('x');
    std::optional<double> a;
    std::optional<double> b;
    if (x == std::string::npos) {
        if (single)
            a = b = parse_float(text);
    } else {
        a = parse_float(std::string_view(text).substr(0, x));
        b = parse_float(std::string_view(text).substr(x + 1));
    }
    if (!a || !b || !(*a > 0) || !(*b > 0)) {
        throw UsageError{std::string(option) + " takes " + (single ? "D or DXxDY" : "WxH") +
                         " with numbers above 0, not " + text};
    }
    return {*a, *b};
}

void load_plan_profile(const std::string& file, TBetaSPLpoints& profile, MessageSink& notices) {
    const std::string bytes = read_file_limited(file, kMaxSplineFileBytes, "a spline file");
    const ProfileLoad load = load_profile(bytes, profile, notices, BetaSpline::kMaxPoints);
    check_spline_version(load.version, file);
    // A template from half a profile would waste the wood it is sawn from.
    if (load.damaged_sections > 0)
        throw Error(file + " is damaged: no plan is made from it");
}

void print_summary(const PlankPlan& plan, std::ostream& out) {
    out << "Planks: " << plan.list.N << " in a blank of " << format_general(plan.list.D) << " mm\n";
    for (std::size_t i = 0; i < plan.list.entries.size(); ++i)
        out << "  " << (i + 1) << ": " << plan.list.entries[i] << '\n';
    const PlanSizing& s = plan.sizing;
    out << "Template: "
        << (plan.plank.k >= 0 ? plan.list.entries[static_cast<std::size_t>(plan.plank.k)]
                              : std::string("no plank selected"))
        << ", " << format_fixed(s.SizeX, 1) << " x " << format_fixed(s.SizeY, 1)
        << " mm at 1:" << format_general(s.scale) << ", along the page "
        << (s.use_height ? "height" : "width") << ", " << plan.layout.P
        << (plan.layout.P == 1 ? " page\n" : " pages\n");
}

// The options that take a value, by name; each is kept as the text given.
struct PlanOptions {
    JobOptions job;
    bool json = false;
    bool no_marks = false;
    std::map<std::string, std::string> values;
    std::map<std::string, CLI::Option*> given_options;

    std::optional<std::string> value(const std::string& name) const {
        return given(given_options.at(name), values.at(name));
    }
};

int run(const PlanOptions& o) {
    const bool json = o.json;
    const bool marks = !o.no_marks;
    const auto spline = o.value("--spline");
    const auto axis = o.value("--axis");
    const auto thickness = o.value("--thickness");
    const auto margin = o.value("--margin");
    const auto plank = o.value("--plank");
    const auto page_text = o.value("--page");
    const auto dpi_text = o.value("--dpi");
    const auto pdf = o.value("--pdf");
    const auto svg = o.value("--svg");
    const auto dxf = o.value("--dxf");
    const auto date = o.value("--date");
    const FieldValues fields = job_fields(o.job);

    PrinterPage page;
    if (page_text)
        std::tie(page.PW, page.PH) = pair_option(*page_text, "--page", false);
    if (dpi_text)
        std::tie(page.dx, page.dy) = pair_option(*dpi_text, "--dpi", true);
    int entry = 1;
    if (plank) {
        const auto value = parse_int(*plank);
        if (!value || *value < 0)
            throw UsageError{"--plank takes a list entry from 1, or 0 for none, not " + *plank};
        entry = *value;
    }
#ifndef OSTRIVANE_WITH_QT
    for (const auto& [option, given] :
         {std::pair{"--pdf", pdf.has_value()}, std::pair{"--svg", svg.has_value()},
          std::pair{"--dxf", dxf.has_value()}}) {
        if (given)
            throw Error(std::string(option) +
                        " needs the build of Ostrivane with Qt, and this one was built without it");
    }
#endif

    // A drawing may go to standard output, which then holds nothing else.
    std::vector<std::string> to_standard_output;
    for (const auto& [option, file] :
         {std::pair{"--pdf", &pdf}, std::pair{"--svg", &svg}, std::pair{"--dxf", &dxf}}) {
        if (*file && names_standard_output(**file))
            to_standard_output.emplace_back(option);
    }
    if (to_standard_output.size() > 1 || (json && !to_standard_output.empty())) {
        throw UsageError{
            "only one of --pdf -, --svg -, --dxf - and --json can use standard output"};
    }
    std::ostream& summary = to_standard_output.empty() ? std::cout : std::cerr;

    PlanInputs in;
    in.turning_axis_y = number_option(axis, 100, "Turn axis position (mm)");
    if (const auto problem = working_range_problem(in.turning_axis_y, "Turn axis position (mm)"))
        throw Error(*problem);
    in.thickness_text = thickness.value_or("18");
    in.margin_text = margin.value_or("10");
    in.thickness = number_option(in.thickness_text, 18, "Plank thickness (mm)");
    in.margin = number_option(in.margin_text, 10, "Diameter margin (mm)");
    in.name = fields.text("Smot_name");
    in.date = date.value_or(short_date_today());
    const double mill_width = validate_float(fields, "Ssaw_width");
    const double resolution = validate_float(fields, "resolution");

    ErrSink notices;
    TBetaSPLpoints profile{notices};
    profile.set_data(mill_width, resolution, fields.checked("match1"));
    const std::string file =
        spline.value_or(program_spline_file(with_separator(data_folder()), in.name).string());
    load_plan_profile(file, profile, notices);

    JobContext job;
    PlankPlan plan{notices};
    check_plank_thickness(in.thickness);
    plan.build_list(profile, in.turning_axis_y, in.thickness, in.margin, job);
    plan.calculate(profile, in, entry, page, job);
    if (json)
        std::cout << plan_json(plan) << '\n';
    else
        print_summary(plan, summary);
#ifdef OSTRIVANE_WITH_QT
    // One application object for every drawing: Qt cannot start a second one once the first
    // has gone.
    const auto app = svg || dxf || pdf ? offscreen_application() : nullptr;
    // Every file is made before the first one is written: a refusal leaves none of them.
    std::string svg_bytes;
    std::string dxf_bytes;
    if (svg || dxf) {
        const PlanDrawing drawing = plan_drawing(
            profile, plan, in, exported_entries(plan.list, entry, plank.has_value()), notices, job);
        if (svg)
            svg_bytes = plan_svg(drawing, in.name + " saw plan");
        if (dxf)
            dxf_bytes = plan_dxf(drawing);
    }
    const std::string pdf_bytes = pdf ? plan_pdf(plan, marks) : "";
    for (const auto& [file, bytes] : {std::pair{&svg, &svg_bytes}, std::pair{&dxf, &dxf_bytes}}) {
        if (*file) {
            write_output(**file, *bytes);
            std::cerr << (names_standard_output(**file) ? "standard output" : **file)
                      << " written\n";
        }
    }
    if (pdf) {
        write_output(*pdf, pdf_bytes);
        std::cerr << "Printing finished\n";
    }
#else
    (void)marks;
#endif
    return 0;
}

}  // namespace

Command add_plan_command(CLI::App& tool) {
    auto o = std::make_shared<PlanOptions>();
    CLI::App* command =
        add_command(tool, "plan", "the saw plan of a profile: planks, template, pages",
                    std::string(kHelp) + job_fields_help);
    add_job_options(*command, o->job);
    for (const char* name : {"--spline", "--axis", "--thickness", "--margin", "--plank", "--page",
                             "--dpi", "--pdf", "--svg", "--dxf", "--date"}) {
        o->given_options[name] = command->add_option(name, o->values[name]);
    }
    command->add_flag("--json", o->json);
    command->add_flag("--no-marks", o->no_marks);
    return {command, [o] { return run(*o); }};
}

}  // namespace ostrivane::cli
