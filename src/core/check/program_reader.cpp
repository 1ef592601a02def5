#include "core/check/program_reader.h"

#include <cmath>
#include <optional>
#include <string>

#include "core/gcode/gcode_words.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

// How much of a bad line an error message shows.
constexpr std::size_t kQuotedLine = 80;
constexpr std::size_t kW = static_cast<std::size_t>(Axis::W);

// A G or M number in tenths (28.1 is 281), or nullopt for one that is no code: negative, too
// large, or with more than one decimal.
std::optional<int> code_tenths(double value) {
    if (!(value >= 0 && value < 1000))
        return std::nullopt;
    const double tenths = value * 10;
    const double whole = std::round(tenths);
    if (std::fabs(tenths - whole) > 1e-6)
        return std::nullopt;
    return static_cast<int>(whole);
}

bool one_of(int code, std::initializer_list<int> codes) {
    for (const int c : codes) {
        if (c == code)
            return true;
    }
    return false;
}

std::string word_text(char letter, double value) {
    return std::string(1, letter) + format_shortest(value);
}

bool is_turning_letter(char letter) {
    return letter == 'W' || letter == 'A' || letter == 'B' || letter == 'C';
}

bool is_rotary_letter(char letter) {
    return letter == 'A' || letter == 'B' || letter == 'C';
}

}  // namespace

ProgramReader::ProgramReader(const MachineSettings& settings, ReadingRules rules)
    : settings_(settings), rules_(rules), letters_(settings.letter) {}

void ProgramReader::refuse(std::string_view what, std::string_view line) const {
    throw Error("Line " + std::to_string(lines_) + ": " + std::string(what) + ": " +
                printable_excerpt(line, kQuotedLine));
}

void ProgramReader::read_words(std::string_view line) {
    const GcodeWordRules strict{.refuse_open_comment = true, .percent_only_first = true};
    switch (split_gcode_words(line, rules_.strict ? strict : GcodeWordRules{}, words_)) {
        case GcodeLineProblem::none:
            return;
        case GcodeLineProblem::open_comment:
            refuse("a comment without its closing bracket", line);
        case GcodeLineProblem::not_gcode:
            refuse("not G-code this program can read", line);
    }
}

void ProgramReader::add_move(Move move, std::vector<ProgramMove>& out, std::string_view line) {
    ProgramMove m;
    m.move = move;
    m.feed_per_minute = feed_;
    m.line = lines_;
    m.path = path_;
    m.tolerance = tolerance_;
    m.arc = move.kind == MoveKind::feed && motion_ >= 2;
    if (move.kind == MoveKind::rapid || move.kind == MoveKind::feed ||
        move.kind == MoveKind::home || move.kind == MoveKind::home_all) {
        for (std::size_t a = 0; a < position_.size(); ++a) {
            if (!move.moves(program_axes[a]))
                continue;
            position_[a] += move.distance[a];
            if (a < kW && !(std::fabs(position_[a]) <= kMostProgramLength))
                refuse("a move more than 1000 m from where the program started", line);
        }
        moved_ = true;
    }
    out.push_back(m);
}

// Takes one G word; false for one that is not understood.
bool ProgramReader::take_g(int g, std::string_view line) {
    switch (g) {
        case 0:
        case 10:
            motion_ = g / 10;
            return true;
        case 20:
        case 30:
            if (rules_.strict)
                refuse("arcs (G2, G3) cannot be placed by the check", line);
            motion_ = g / 10;
            return true;
        case 40:
            dwell_ = true;
            return true;
        case 200:
            units_ = 25.4;
            return true;
        case 210:
            units_ = 1;
            return true;
        case 280:
            home_ = true;
            return true;
        case 281:
            set_home_ = true;
            if (!moved_ && !home_stored_) {
                home_stored_ = true;
                if (!incremental_before_home_ && incremental_seen_)
                    incremental_before_home_ = true;
            }
            return true;
        case 900:
        case 910:
            relative_ = g == 910;
            if (!moved_ && relative_ && !incremental_seen_) {
                incremental_seen_ = true;
                if (home_stored_ && !incremental_before_home_)
                    incremental_before_home_ = false;
            }
            return true;
        case 610:
        case 611:
            path_ = PathMode::exact_stop;
            tolerance_ = 0;
            if (!moved_ && g == 610)
                exact_stop_header_ = true;
            return true;
        case 640:
            path_ = PathMode::blend;
            tolerance_ = 0;
            path_word_ = true;
            return true;
        default:
            return one_of(g, {170, 400, 430, 490, 540, 800, 940});
    }
}

bool ProgramReader::take_axis_word(const Word& w, std::array<double, 4>& value, AxisSet& named,
                                   std::array<int, 4>& used_of_letter, std::string_view line) {
    if (!rules_.strict && is_turning_letter(w.letter) && !turning_letter_fixed_) {
        bool other_axis = false;
        for (std::size_t a = 0; a < kW; ++a)
            other_axis = other_axis || letters_[a] == w.letter;
        if (!other_axis) {
            letters_[kW] = w.letter;
            turning_letter_fixed_ = true;
        }
    }
    // The k-th word of a letter goes to the k-th program axis written under it.
    const std::string_view letter_slots = "XYZW";
    const auto slot = letter_slots.find(w.letter);
    const int occurrence = slot == std::string_view::npos ? 0 : used_of_letter[slot]++;
    int k = 0;
    for (const Axis axis : program_axes) {
        const auto a = static_cast<std::size_t>(axis);
        if (letters_[a] != w.letter || k++ != occurrence)
            continue;
        const double units = is_rotary_letter(w.letter) ? 1 : units_;
        const double v = (settings_.inverted[a] ? -w.value : w.value) * units;
        if (!(std::fabs(v) <= kMostProgramLength))
            refuse("an axis word beyond 1000 m, " + word_text(w.letter, w.value), line);
        value[a] = v;
        named |= axis_bit(axis);
        return true;
    }
    return false;
}

void ProgramReader::run_line(std::string_view line, std::vector<ProgramMove>& out) {
    dwell_ = home_ = set_home_ = path_word_ = false;
    bool end = false, pause = false, arc_words = false;
    std::optional<double> p_word;
    std::array<double, 4> axis_value{};
    AxisSet named = 0;
    std::array<int, 4> used_of_letter{};  // words seen per axis letter X, Y, Z, W
    for (const Word& w : words_) {
        switch (w.letter) {
            case 'G': {
                const auto g = code_tenths(w.value);
                if ((!g || !take_g(*g, line)) && rules_.strict)
                    refuse("unknown word " + word_text('G', w.value), line);
                break;
            }
            case 'M': {
                const auto m = code_tenths(w.value);
                if (m && (*m == 20 || *m == 300))
                    end = true;
                else if (m && (*m == 0 || *m == 10))
                    pause = true;
                else if ((!m || !one_of(*m, {30, 40, 50, 60})) && rules_.strict)
                    refuse("unknown word " + word_text('M', w.value), line);
                break;
            }
            case 'F': {
                const double f = w.value * units_;
                if (!(f >= 0 && f <= kMostFeedPerMinute) || (f > 0 && f < kLeastFeedPerMinute))
                    refuse("a feedrate no machine can run, " + word_text('F', w.value), line);
                feed_ = f;
                break;
            }
            case 'P':
                p_word = w.value;
                break;
            case 'S':
            case 'T':
            case 'H':
            case 'N':
                break;
            case 'I':
            case 'J':
            case 'K':
            case 'R':
                if (!rules_.strict) {
                    arc_words = true;
                    break;
                }
                [[fallthrough]];
            default:
                if (!take_axis_word(w, axis_value, named, used_of_letter, line) && rules_.strict) {
                    const std::string word(1, w.letter);
                    refuse("unknown word " + word + " (no axis of the settings is written as " +
                               word + ")",
                           line);
                }
        }
    }
    if (path_word_ && p_word) {
        if (!(*p_word >= 0 && *p_word * units_ <= kMostProgramLength))
            refuse("a path tolerance no machine can keep, " + word_text('P', *p_word), line);
        tolerance_ = *p_word * units_;
    }
    if (set_home_)
        stored_home_ = position_;
    if (dwell_) {
        if (!p_word)
            refuse("a dwell (G4) without its P word", line);
        if (!(*p_word >= 0 && *p_word <= kMostDwellSeconds))
            refuse("a dwell no program needs, " + word_text('P', *p_word), line);
        if (named != 0 && rules_.strict)
            refuse("axis words beside a dwell", line);
        add_move(Move::dwell_for(*p_word * 1000), out, line);
    } else if (pause) {
        // The controller stops before a pause as before a dwell; how long the operator takes
        // is not the program's time.
        add_move(Move::dwell_for(0), out, line);
    }
    if (home_) {
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
            add_move(via, out, line);
        Move back;
        back.kind = named == 0 ? MoveKind::home_all : MoveKind::home;
        back.fast = motion_ == 0;
        for (std::size_t a = 0; a < 4; ++a) {
            if (named == 0 || (named & axis_bit(program_axes[a]))) {
                back.axes |= axis_bit(program_axes[a]);
                back.distance[a] = stored_home_[a] - position_[a];
            }
        }
        add_move(back, out, line);
    } else if (named == 0 && arc_words && motion_ >= 2 && !dwell_) {
        // A full circle: back where it started, an arc all the same.
        Move circle;
        circle.kind = MoveKind::feed;
        add_move(circle, out, line);
    } else if (named != 0 && !dwell_) {
        Move m;
        m.kind = motion_ == 0 ? MoveKind::rapid : MoveKind::feed;
        m.axes = named;
        for (std::size_t a = 0; a < 4; ++a) {
            if (named & axis_bit(program_axes[a]))
                m.distance[a] = relative_ ? axis_value[a] : axis_value[a] - position_[a];
        }
        add_move(m, out, line);
    }
    if (end) {
        add_move(Move::end_program(), out, line);
        ended_ = true;
    }
}

void ProgramReader::read_line(std::string_view line, std::vector<ProgramMove>& out) {
    ++lines_;
    if (ended_)
        return;  // the controller reads no further
    read_words(line);
    run_line(line, out);
}

}  // namespace ostrivane
