#include "core/gcode/program_stats.h"

#include <cmath>

#include "core/gcode/gcode_words.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_lines.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

constexpr std::string_view axis_letters = "XYZWABC";
constexpr std::size_t linear_axes = 3;  // X, Y, Z come first in axis_letters
using Axes = std::array<double, 7>;

// How much of a bad line an error message shows.
constexpr std::size_t quoted_line_limit = 80;

// A line as an error message shows it: its start, escaped.
std::string quoted(std::string_view line) {
    return printable_excerpt(line, quoted_line_limit);
}

std::string plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void ProgramStatsCounter::read_words(std::string_view line) {
    // Lenient where a program still runs: an open comment ends the line, "%" ends any line.
    if (split_gcode_words(line, GcodeWordRules{}, words_) == GcodeLineProblem::not_gcode) {
        throw Error("Line " + std::to_string(stats_.lines + 1) +
                    " is not G-code this program can read: " + quoted(line));
    }
}

void ProgramStatsCounter::travel(const Axes& to, bool rapid_move) {
    double linear = 0;
    double turning = 0;
    for (std::size_t a = 0; a < to.size(); ++a) {
        const double d = to[a] - machine_.position[a];
        (a < linear_axes ? linear : turning) += d * d;
    }
    linear = std::sqrt(linear);
    turning = std::sqrt(turning);
    machine_.position = to;
    if (linear == 0 && turning == 0)
        return;
    (rapid_move ? stats_.rapid_mm : stats_.feed_mm) += linear;
    stats_.turning += turning;
    if (!machine_.feed || *machine_.feed <= 0) {
        ++stats_.moves_without_feed;
        return;
    }
    // A move with linear travel is fed along its path; a turn alone at the turning rate.
    stats_.run_time_s += (linear > 0 ? linear : turning) / *machine_.feed * 60;
}

void ProgramStatsCounter::run_line() {
    Machine& m = machine_;
    bool dwell = false;
    bool home = false;
    bool set_home = false;
    bool any_axis = false;
    bool arc_words = false;
    Axes axis_words{};
    std::array<bool, 7> named{};
    std::optional<double> p_word;
    for (const Word& w : words_) {
        const auto axis = axis_letters.find(w.letter);
        if (axis != std::string_view::npos) {
            // Two words for one axis (possible with a custom mapping) add up.
            axis_words[axis] += w.value;
            named[axis] = true;
            any_axis = true;
        } else if (w.letter == 'F') {
            m.feed = w.value;
        } else if (w.letter == 'P') {
            p_word = w.value;
        } else if (w.letter == 'I' || w.letter == 'J' || w.letter == 'K' || w.letter == 'R') {
            arc_words = true;
        } else if (w.letter == 'G') {
            const double g = w.value;
            if (g == 0 || g == 1 || g == 2 || g == 3)
                m.motion = static_cast<int>(g);
            if (g == 4)
                dwell = true;
            if (g == 28)
                home = true;
            if (g == 28.1)
                set_home = true;
            if (g == 90)
                m.relative = false;
            if (g == 91)
                m.relative = true;
        }
    }
    if (dwell && p_word && *p_word > 0)
        stats_.dwell_s += *p_word;
    if (set_home)
        m.position = Axes{};
    if (home) {
        // Through the intermediate point of the named axes, then those axes (all when none is
        // named) to the stored home position, at rapid.
        Axes via = m.position;
        for (std::size_t a = 0; a < via.size(); ++a) {
            if (named[a])
                via[a] = m.relative ? via[a] + axis_words[a] : axis_words[a];
        }
        travel(via, true);
        for (std::size_t a = 0; a < via.size(); ++a) {
            if (named[a] || !any_axis)
                via[a] = 0;
        }
        travel(via, true);
        return;
    }
    if (dwell)
        return;
    const bool arc = m.motion == 2 || m.motion == 3;
    if (arc && (any_axis || arc_words))
        ++stats_.arcs;
    if (!any_axis)
        return;
    Axes to = m.position;
    for (std::size_t a = 0; a < to.size(); ++a) {
        if (named[a])
            to[a] = m.relative ? to[a] + axis_words[a] : axis_words[a];
    }
    travel(to, m.motion == 0);
}

void ProgramStatsCounter::add_line(std::string_view line) {
    read_words(line);
    ++stats_.lines;
    run_line();
}

ProgramStats ProgramStatsCounter::stats() const {
    ProgramStats result = stats_;
    result.run_time_s += result.dwell_s;
    return result;
}

void ProgramStatsSink::write_line(std::string_view line) {
    if (error_)
        return;
    try {
        counter_.add_line(line);
    } catch (const Error& e) {
        error_ = e.what();
    }
}

std::string ProgramStatsSink::summary() const {
    if (error_)
        throw Error(*error_);
    return stats_summary(counter_.stats());
}

ProgramStats program_stats(std::string_view program) {
    // Lines end at LF, CR LF or a lone CR; a final line end adds no empty line.
    ProgramStatsCounter counter;
    for_each_line(program, [&](std::string_view line) { counter.add_line(line); });
    return counter.stats();
}

ProgramStats program_stats_of_file(const std::filesystem::path& file) {
    ProgramStatsCounter counter;
    for_each_line_of_file(file, max_program_file_size, "a G-code program", max_program_line,
                          [&](std::string_view line, std::uint64_t) { counter.add_line(line); });
    return counter.stats();
}

std::string stats_summary(const ProgramStats& stats) {
    std::string line = plural(stats.lines, "line", "lines") + ", feed " +
                       format_fixed(stats.feed_mm, 3) + " mm, rapid " +
                       format_fixed(stats.rapid_mm, 3) + " mm, ";
    if (stats.turning > 0)
        line += "turning " + format_fixed(stats.turning, 3) + ", ";
    line += "dwell " + format_duration(stats.dwell_s) + ", run time at most " +
            format_duration(stats.run_time_s) + " (rapid moves counted at their F word)";
    if (stats.moves_without_feed > 0) {
        line += ", " + plural(stats.moves_without_feed, "move", "moves") + " without a feedrate";
    }
    if (stats.arcs > 0) {
        line += ", " + plural(stats.arcs, "arc approximated by its chord",
                              "arcs approximated by their chords");
    }
    return line;
}

}  // namespace ostrivane
