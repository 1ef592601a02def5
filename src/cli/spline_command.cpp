#include <cmath>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/job_fields.h"
#include "core/app/field_source.h"
#include "core/curve/point_import.h"
#include "core/curve/spline_file.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
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
    "        points, and writes a spline file with it; refused points are reported on\n"
    "        standard error\n"
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

std::string json_string(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            static const char* digits = "0123456789abcdef";
            out += "\\u00";
            out += digits[byte >> 4];
            out += digits[byte & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
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

int show(Arguments& args) {
    const bool gradients = args.take_flag("--gradients");
    const std::string file = args.take("FILE");
    const FieldValues fields = job_fields(args);
    args.expect_end();
    const double mill_width = validate_float(fields, "Ssaw_width");
    const double resolution = validate_float(fields, "resolution");
    if (gradients && !(round_half_even(resolution) >= 1)) {
        throw Error("Spline samples/mm must be at least 1 to find turning points");
    }
    const std::string bytes = read_file_limited(file, kMaxSplineFileBytes, "a spline file");

    Notices notices;
    SplineDocument document;
    const auto version = read_spline_file(bytes, document, notices);
    if (!version)
        throw Error(file + " is too short to be a spline file");
    if (*version != kSplineFileVersion) {
        throw Error(file + " is not a spline file this program reads: its version word is " +
                    std::to_string(*version) + ", not " + std::to_string(kSplineFileVersion));
    }
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
        out += json_string(notices.texts[i]);
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

int import(Arguments& args) {
    const std::string source = args.take("POINTS.txt or DRAWING.dxf");
    const auto output = args.take_option("--output");
    args.expect_end();
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
    SplineDocument document;
    document.profile = profile.shape();
    write_file_atomically(*output, write_spline_file(document));
    return 0;
}

}  // namespace

int spline_command(Arguments args) {
    if (args.take_flag("--help")) {
        std::cout << kHelp << job_fields_help;
        return 0;
    }
    const std::string action = args.take("action (show or import)");
    if (action == "show")
        return show(args);
    if (action == "import")
        return import(args);
    throw UsageError{"unknown action: spline " + action};
}

}  // namespace ostrivane::cli
