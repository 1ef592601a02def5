#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

namespace ostrivane {

// Where the number of a G-code word that starts at `i` of `line` ends: digits, points and
// signs, and an exponent, which belongs to the number (P1e308 is one word, not P1 and E308).
std::size_t gcode_number_end(std::string_view line, std::size_t i);

// One word of a G-code line: its letter, upper case, and its number.
struct GcodeWord {
    char letter;
    double value;
};

// What a reader of lines makes of the things that are not words. Blanks between words and
// inside a word before its number are skipped; "(…)" is a comment; ";" ends the line.
struct GcodeWordRules {
    // A comment without its ")" refuses the line; otherwise it ends the line.
    bool refuse_open_comment = false;
    // "%" ends the line only where it comes before every word (elsewhere it is no word);
    // otherwise it ends the line wherever it stands.
    bool percent_only_first = false;
};

// Why a line could not be split.
enum class GcodeLineProblem { none, open_comment, not_gcode };

// Splits `line` into `words` (cleared first, its memory kept) by `rules`. A word is a letter and
// a finite number. On a problem the words before it stay in `words`.
GcodeLineProblem split_gcode_words(std::string_view line, const GcodeWordRules& rules,
                                   std::vector<GcodeWord>& words);

}  // namespace ostrivane
