#include "core/gcode/program_stats.h"

#include <array>
#include <cmath>
#include <optional>

#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/number_format.h"
#include "core/text/number_parse.h"

namespace ostrivane {
namespace {

constexpr std::string_view axis_letters = "XYZWABC";
constexpr std::size_t linear_axes = 3;  // X, Y, Z come first in axis_letters
using Axes = std::array<double, 7>;

struct Word {
    char letter;
    double value;
};

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
bool is_blank(char c) {
    return c == ' ' || c == '\t';
}
bool is_number_char(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-';
}

// The words of one line, comments removed.
std::vector<Word> words_of(std::string_view line, std::size_t line_number) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (is_blank(c)) {
            ++i;
        } else if (c == '(') {
            const std::size_t end = line.find(')', i);
            if (end == std::string_view::npos)
                break;
            i = end + 1;
        } else if (c == ';' || c == '%') {
            break;
        } else {
            const char letter = upper(c);
            std::size_t j = i + 1;
            while (j < line.size() && is_blank(line[j]))
                ++j;
            const std::size_t start = j;
            while (j < line.size() && is_number_char(line[j]))
                ++j;
            const auto value = parse_float(line.substr(start, j - start));
            if (letter < 'A' || letter > 'Z' || !value) {
                throw Error("Line " + std::to_string(line_number) +
                            " is not G-code this program can read: " + std::string(line));
            }
            words.push_back({letter, *value});
            i = j;
        }
    }
    return words;
}

struct Machine {
    Axes position{};  // from the stored home position
    bool relative = false;
    bool rapid = true;
    std::optional<double> feed;  // mm/min

    void travel(const Axes& to, bool rapid_move, ProgramStats& stats) {
        double linear = 0;
        double turning = 0;
        for (std::size_t a = 0; a < to.size(); ++a) {
            const double d = to[a] - position[a];
            (a < linear_axes ? linear : turning) += d * d;
        }
        linear = std::sqrt(linear);
        turning = std::sqrt(turning);
        position = to;
        if (linear == 0 && turning == 0)
            return;
        (rapid_move ? stats.rapid_mm : stats.feed_mm) += linear;
        stats.turning += turning;
        if (!feed || *feed <= 0) {
            ++stats.moves_without_feed;
            return;
        }
        // A move with linear travel is fed along its path; a turn alone at the turning rate.
        stats.run_time_s += (linear > 0 ? linear : turning) / *feed * 60;
    }
};

void run_line(const std::vector<Word>& words, Machine& m, ProgramStats& stats) {
    bool dwell = false;
    bool home = false;
    bool set_home = false;
    bool any_axis = false;
    Axes axis_words{};
    std::array<bool, 7> named{};
    std::optional<double> p_word;
    for (const Word& w : words) {
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
        } else if (w.letter == 'G') {
            const double g = w.value;
            if (g == 0)
                m.rapid = true;
            if (g == 1)
                m.rapid = false;
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
        stats.dwell_s += *p_word;
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
        m.travel(via, true, stats);
        for (std::size_t a = 0; a < via.size(); ++a) {
            if (named[a] || !any_axis)
                via[a] = 0;
        }
        m.travel(via, true, stats);
        return;
    }
    if (!any_axis || dwell)
        return;
    Axes to = m.position;
    for (std::size_t a = 0; a < to.size(); ++a) {
        if (named[a])
            to[a] = m.relative ? to[a] + axis_words[a] : axis_words[a];
    }
    m.travel(to, m.rapid, stats);
}

}  // namespace

ProgramStats program_stats(std::string_view program) {
    ProgramStats stats;
    Machine machine;
    const auto lines = split_lines(program);
    stats.lines = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        run_line(words_of(lines[i], i + 1), machine, stats);
    }
    stats.run_time_s += stats.dwell_s;
    return stats;
}

ProgramStats program_stats_of_file(const std::filesystem::path& file) {
    const auto bytes = read_file(file);
    if (!bytes)
        throw Error("Cannot open file " + file.string());
    return program_stats(*bytes);
}

std::string stats_summary(const ProgramStats& stats) {
    std::string line = std::to_string(stats.lines) + " lines, feed " +
                       format_fixed(stats.feed_mm, 3) + " mm, rapid " +
                       format_fixed(stats.rapid_mm, 3) + " mm, ";
    if (stats.turning > 0)
        line += "turning " + format_fixed(stats.turning, 3) + ", ";
    line += "dwell " + format_fixed(stats.dwell_s, 2) + " s, run time at most " +
            format_fixed(stats.run_time_s, 1) + " s (rapid moves counted at their F word)";
    if (stats.moves_without_feed > 0) {
        line += ", " + std::to_string(stats.moves_without_feed) + " moves without a feedrate";
    }
    return line;
}

}  // namespace ostrivane
