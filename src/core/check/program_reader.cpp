#include "core/check/program_reader.h"

#include <cmath>
#include <string>

#include "core/gcode/gcode_words.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"

namespace ostrivane {
namespace {

// How much of a bad line an error message shows.
constexpr std::size_t kQuotedLine = 80;

// G and M numbers are compared in tenths, so that 28.1 is exact.
int tenths(double value) {
    return static_cast<int>(std::lround(value * 10));
}

bool one_of(int code, std::initializer_list<int> codes) {
    for (const int c : codes) {
        if (c == code)
            return true;
    }
    return false;
}

std::string word_text(char letter, double value) {
    std::string text(1, letter);
    const double r = std::round(value * 10) / 10;
    text += std::to_string(static_cast<long long>(r));
    if (r != std::floor(r))
        text += "." + std::to_string(static_cast<int>(std::lround((r - std::floor(r)) * 10)));
    return text;
}

}  // namespace

ProgramReader::ProgramReader(const MachineSettings& settings) : settings_(settings) {
    // Every axis needs its letter to be read back; one without cannot appear in the program.
}

void ProgramReader::refuse(std::string_view what, std::string_view line) const {
    throw Error("Line " + std::to_string(lines_) + ": " + std::string(what) + ": " +
                printable_excerpt(line, kQuotedLine));
}

void ProgramReader::read_words(std::string_view line) {
    // Strict: a program the check cannot read in full is refused, never half checked.
    constexpr GcodeWordRules rules{.refuse_open_comment = true, .percent_only_first = true};
    switch (split_gcode_words(line, rules, words_)) {
        case GcodeLineProblem::none:
            return;
        case GcodeLineProblem::open_comment:
            refuse("a comment without its closing bracket", line);
        case GcodeLineProblem::not_gcode:
            refuse("not G-code this program can read", line);
    }
}

void ProgramReader::add_move(Move move, std::vector<ProgramMove>& out) {
    ProgramMove m;
    m.move = move;
    m.feed_per_minute = feed_;
    m.line = lines_;
    out.push_back(m);
    if (move.kind == MoveKind::rapid || move.kind == MoveKind::feed ||
        move.kind == MoveKind::home || move.kind == MoveKind::home_all) {
        for (std::size_t a = 0; a < position_.size(); ++a) {
            if (move.moves(program_axes[a]))
                position_[a] += move.distance[a];
        }
        moved_ = true;
    }
}

void ProgramReader::run_line(std::string_view line, std::vector<ProgramMove>& out) {
    bool dwell = false, home = false, set_home = false, end = false;
    std::optional<double> p_word;
    std::array<double, 4> axis_value{};
    AxisSet named = 0;
    std::array<int, 4> used_of_letter{};  // words seen per axis letter X, Y, Z, W
    for (const Word& w : words_) {
        switch (w.letter) {
            case 'G': {
                const int g = tenths(w.value);
                if (g == 0 || g == 10)
                    feed_mode_ = g == 10;
                else if (g == 20 || g == 30)
                    refuse("arcs (G2, G3) cannot be placed by the check", line);
                else if (g == 40)
                    dwell = true;
                else if (g == 200)
                    units_ = 25.4;
                else if (g == 210)
                    units_ = 1;
                else if (g == 280)
                    home = true;
                else if (g == 281)
                    set_home = true;
                else if (g == 900)
                    relative_ = false;
                else if (g == 910)
                    relative_ = true;
                else if (g == 610) {
                    if (!moved_)
                        exact_stop_header_ = true;
                } else if (!one_of(g, {170, 400, 430, 490, 540, 611, 640, 800, 940}))
                    refuse("unknown word " + word_text('G', w.value), line);
                break;
            }
            case 'M': {
                const int m = tenths(w.value);
                if (m == 20 || m == 300)
                    end = true;
                else if (!one_of(m, {0, 10, 30, 40, 50, 60}))
                    refuse("unknown word " + word_text('M', w.value), line);
                break;
            }
            case 'F':
                feed_ = w.value * units_;
                break;
            case 'P':
                p_word = w.value;
                break;
            case 'S':
            case 'T':
            case 'H':
            case 'N':
                break;
            default: {
                // The k-th word of a letter goes to the k-th program axis written under it.
                int k = 0;
                bool placed = false;
                const int letter_slot = w.letter == 'X'   ? 0
                                        : w.letter == 'Y' ? 1
                                        : w.letter == 'Z' ? 2
                                        : w.letter == 'W' ? 3
                                                          : -1;
                const int occurrence = letter_slot < 0 ? 0 : used_of_letter[letter_slot]++;
                for (const Axis axis : program_axes) {
                    const auto a = static_cast<std::size_t>(axis);
                    if (settings_.letter[a] != w.letter)
                        continue;
                    if (k++ != occurrence)
                        continue;
                    const double v = (settings_.inverted[a] ? -w.value : w.value) * units_;
                    axis_value[a] = v;
                    named |= axis_bit(axis);
                    placed = true;
                    break;
                }
                if (!placed) {
                    std::string word(1, w.letter);
                    refuse("unknown word " + word + " (no axis of the settings is written as " +
                               word + ")",
                           line);
                }
            }
        }
    }
    if (set_home)
        stored_home_ = position_;
    if (dwell) {
        if (!p_word)
            refuse("a dwell (G4) without its P word", line);
        if (*p_word > 0)
            add_move(Move::dwell_for(*p_word * 1000), out);
    }
    if (home) {
        // Through the point the named axes give, then those axes (all, when none is named) to
        // the stored home position, at rapid.
        Move via;
        via.kind = MoveKind::rapid;
        for (std::size_t a = 0; a < 4; ++a) {
            if (named & axis_bit(program_axes[a])) {
                const double d = relative_ ? axis_value[a] : axis_value[a] - position_[a];
                if (d != 0) {
                    via.axes |= axis_bit(program_axes[a]);
                    via.distance[a] = d;
                }
            }
        }
        if (via.axes != 0)
            add_move(via, out);
        Move back;
        back.kind = named == 0 ? MoveKind::home_all : MoveKind::home;
        back.fast = !feed_mode_;
        for (std::size_t a = 0; a < 4; ++a) {
            if (named == 0 || (named & axis_bit(program_axes[a]))) {
                back.axes |= axis_bit(program_axes[a]);
                back.distance[a] = stored_home_[a] - position_[a];
            }
        }
        add_move(back, out);
    } else if (named != 0 && !dwell) {
        Move m;
        m.kind = feed_mode_ ? MoveKind::feed : MoveKind::rapid;
        m.axes = named;
        for (std::size_t a = 0; a < 4; ++a) {
            if (named & axis_bit(program_axes[a]))
                m.distance[a] = relative_ ? axis_value[a] : axis_value[a] - position_[a];
        }
        add_move(m, out);
    } else if (named != 0) {
        refuse("axis words beside a dwell", line);
    }
    if (end)
        add_move(Move::end_program(), out);
}

void ProgramReader::read_line(std::string_view line, std::vector<ProgramMove>& out) {
    ++lines_;
    read_words(line);
    run_line(line, out);
}

}  // namespace ostrivane
