#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/job_fields.h"
#include "cli/output_target.h"
#include "core/app/field_source.h"
#include "core/curve/point_import.h"
#include "core/curve/spline_file.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/json_text.h"
#include "core/text/message_sink.h"
#include "core/text/number_format.h"

namespace ostrivane::cli {
namespace {

constexpr const char* kHelp =
    "usage: ostrivane-cli spline show FILE.spl [--program F] [--set NAME=TEXT]... [--gradients]\n"
    "       ostrivane-cli spline import POINTS.txt|DRAWING.dxf --output FILE.spl\n"
    "\n"
    "show    reads a spline file as the main window's program loader does and prints its\n"
    "        sections as one JSON object; --gradients adds the profile's turning points\n"
    "        (the fields resolution, match1 and match2 apply)\n"
    "import  builds a profile from a text file of x;y lines, or from a DXF drawing (its first\n"
    "        polyline or spline, else its first chain of lines, in millimetres), at most 1000\n"
    "        points within ±100000 mm, and writes a spline file with it (--output - writes it\n"
    "        to standard output); refused points are reported on standard error, and a\n"
    "        file that gives fewer than two points is refused\n"
    "\n";

// A point list of a thousand points is some tens of kilobytes, a drawing with a profile some
// hundreds; this leaves room for long comments, many skipped lines and other entities, and
// stops an endless file.
constexpr std::uint64_t kMaxPointListBytes = 16u << 20;

// Keeps the notices of the curve code for the output.
struct Notices final : MessageSink {
    using MessageSink::notice;
    void notice(const std::string& text, std::uint32_t, bool) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

std::string number(double value) {
    // JSON has no NaN or infinity; a hostile file may hold them.
    return std::isfinite(value) ? format_shortest(value) : "null";
}

std::string points_json(const TBetaSPLpoints& set) {
    std::string out = "[";
    for (int k = 0; k < set.Nopoints; ++k) {
        if (k > 0)
            out += ',';
        out += "[" + number(set.X.Tomatch[k]) + "," + number(set.Y.Tomatch[k]) + "," +
               number(set.alpha1[k]) + "," + number(set.alpha2[k]) + "]";
    }
    return out + "]";
}

std::string gradients_json(TBetaSPLpoints& profile, Notices& notices) {
    if (profile.Nopoints < 2) {
        notices.texts.emplace_back("A profile needs at least two points for turning points");
        return "null";
    }
    const bool overflow = failed(profile.Calcgradients());
    std::string out = "{\"YminY\":" + number(profile.YminY) +
                      ",\"YmaxY\":" + number(profile.YmaxY) + ",\"points\":[";
    for (int i = 1; i <= profile.GradCounter; ++i) {
        if (i > 1)
            out += ',';
        const gradient_rec& turn = profile.GradientsArray[i];
        out += "[" + number(turn.positionX) + "," + (turn.positive ? "true" : "false") + "]";
    }
    return out + "],\"overflow\":" + (overflow ? "true" : "false") + "}";
}

struct SplineOptions {
    CLI::App* show = nullptr;
    CLI::App* import = nullptr;
    CLI::Option* action_option = nullptr;
    std::string action;
    CLI::Option* file_option = nullptr;
    std::string file;
    bool gradients = false;
    JobOptions job;
    CLI::Option* points_option = nullptr;
    std::string points;
    CLI::Option* output_option = nullptr;
    std::string output;
};

int show(const SplineOptions& o) {
    const bool gradients = o.gradients;
    const std::string& file = required(o.file_option, o.file, "FILE");
    const FieldValues fields = job_fields(o.job);
    const double mill_width = validate_float(fields, "Ssaw_width");
    const double resolution = validate_float(fields, "resolution");
    if (gradients && !(round_half_even(resolution) >= 1)) {
        throw Error("Spline samples/mm must be at least 1 to find turning points");
    }
    const std::string bytes = read_file_limited(file, kMaxSplineFileBytes, "a spline file");

    Notices notices;
    SplineDocument document;
    const auto version = read_spline_file(bytes, document, notices);
    check_spline_version(version, file);
    const bool damaged = !notices.texts.empty();
    TBetaSPLpoints profile{notices};
    TBetaSPLpoints spline2{notices};
    const RecordedMoves& moves = document.moves;
    profile.set_data(mill_width, resolution, fields.checked("match1"));
    spline2.set_data(mill_width, resolution, fields.checked("match2"));
    profile.load_shape(document.profile);
    spline2.load_points(document.spline2.points);
    std::string out = "{\"version\":" + std::to_string(*version) +
                      ",\"profile\":{\"points\":" + points_json(profile) + ",\"parts\":[";
    for (int p = 1; p <= profile.NoParts; ++p) {
        if (p > 1)
            out += ',';
        out += "[" + number(profile.fromX[p]) + "," + number(profile.ToX[p]) + "]";
    }
    out += "]},\"spline2\":{\"points\":" + points_json(spline2) + "},\"moves\":[";
    for (int i = 1; i <= moves.Movecount; ++i) {
        if (i > 1)
            out += ',';
        out += "[" + number(moves.Movements[i].X) + "," + number(moves.Movements[i].Y) + "]";
    }
    out += "]";
    // The turning points are worked out before the messages are printed, so theirs are listed.
    const std::string turns = gradients ? gradients_json(profile, notices) : "";
    out += ",\"messages\":[";
    for (std::size_t i = 0; i < notices.texts.size(); ++i) {
        if (i > 0)
            out += ',';
        out += json_quoted(notices.texts[i]);
    }
    out += "]";
    if (gradients)
        out += ",\"gradients\":" + turns;
    std::cout << out << "}\n";
    if (damaged) {
        std::cerr << file << " is damaged: only part of it could be read (see \"messages\")\n";
        return 1;
    }
    return 0;
}

int import(const SplineOptions& o) {
    const std::string& source = required(o.points_option, o.points, "POINTS.txt or DRAWING.dxf");
    const auto output = given(o.output_option, o.output);
    if (!output)
        throw UsageError{"spline import needs --output FILE.spl"};
    const std::string text = read_file_limited(source, kMaxPointListBytes, "a point list");

    Notices notices;
    TBetaSPLpoints profile{notices};
    // A line that is not a number stops the import; nothing is written then.
    try {
        import_point_file(source, text, profile);
    } catch (const Error&) {
        for (const std::string& message : notices.texts)
            std::cerr << message << '\n';
        throw;
    }
    for (const std::string& message : notices.texts)
        std::cerr << message << '\n';
    // A spline of fewer points is no profile: the editor could not turn it.
    if (profile.Nopoints < 2) {
        throw Error(source + " gives " + std::to_string(profile.Nopoints) +
                    (profile.Nopoints == 1 ? " point" : " points") +
                    ", and a profile needs at least two: nothing was written");
    }
    SplineDocument document;
    document.profile = profile.shape();
    write_output(*output, write_spline_file(document));
    return 0;
}

int run(const SplineOptions& o) {
    if (o.show->parsed())
        return show(o);
    if (o.import->parsed())
        return import(o);
    if (o.action_option->count() > 0)
        throw UsageError{"unknown action: spline " + o.action};
    throw UsageError{"missing action (show or import)"};
}

}  // namespace

Command add_spline_command(CLI::App& tool) {
    const std::string help = std::string(kHelp) + job_fields_help;
    auto o = std::make_shared<SplineOptions>();
    CLI::App* spline =
        add_command(tool, "spline", "show a spline file or import a point list", help);
    o->action_option = spline->add_option("action", o->action);
    o->show = add_command(*spline, "show", "print a spline file as JSON", help);
    o->file_option = o->show->add_option("FILE", o->file);
    o->show->add_flag("--gradients", o->gradients);
    add_job_options(*o->show, o->job);
    o->import = add_command(*spline, "import", "a profile from a point list", help);
    o->points_option = o->import->add_option("POINTS", o->points);
    o->output_option = o->import->add_option("--output", o->output);
    return {spline, [o] { return run(*o); }};
}

}  // namespace ostrivane::cli
