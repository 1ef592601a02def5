#include "core/check/program_stats.h"

#include <cmath>

#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_lines.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

std::string plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The settings a program is read with when nothing says how it was written: every axis under
// its own letter, none inverted.
MachineSettings letters_as_written() {
    MachineSettings s;
    s.letter = {'X', 'Y', 'Z', 'W'};
    return s;
}

}  // namespace

ProgramStatsCounter::ProgramStatsCounter(const MachineLimits& limits)
    : limits_(limits),
      reader_(letters_as_written(), ReadingRules{.strict = false}),
      timer_(limits_) {}

void ProgramStatsCounter::add_line(std::string_view line) {
    moves_.clear();
    reader_.read_line(line, moves_);
    stats_.lines = reader_.lines();
    for (const ProgramMove& pm : moves_) {
        timer_.add(pm, reader_.letters());
        const Move& m = pm.move;
        if (m.kind == MoveKind::dwell) {
            stats_.dwell_s += m.milliseconds / 1000;
            continue;
        }
        if (m.kind == MoveKind::end)
            continue;
        double linear = 0;
        for (std::size_t a = 0; a < 3; ++a) {
            if (m.moves(program_axes[a]))
                linear += m.distance[a] * m.distance[a];
        }
        (m.kind == MoveKind::feed ? stats_.feed_mm : stats_.rapid_mm) += std::sqrt(linear);
        if (m.moves(Axis::W))
            stats_.turning += std::fabs(m.distance[static_cast<std::size_t>(Axis::W)]);
        if (pm.arc)
            ++stats_.arcs;
    }
}

ProgramStats ProgramStatsCounter::stats() const {
    ProgramStats result = stats_;
    RunTimeModel ended = timer_;
    ended.finish();
    result.run_time_s = ended.seconds();
    result.moves_without_feed = ended.moves_without_feed();
    result.time_model = time_model_label(ended, limits_);
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

ProgramStats program_stats(std::string_view program, const MachineLimits& limits) {
    // Lines end at LF, CR LF or a lone CR; a final line end adds no empty line.
    ProgramStatsCounter counter(limits);
    for_each_line(program, [&](std::string_view line) { counter.add_line(line); });
    return counter.stats();
}

ProgramStats program_stats_of_file(const std::filesystem::path& file, const MachineLimits& limits) {
    ProgramStatsCounter counter(limits);
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
    line += "dwell " + format_duration(stats.dwell_s) + ", run time " +
            format_duration(stats.run_time_s) + " (" + stats.time_model + ")";
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
