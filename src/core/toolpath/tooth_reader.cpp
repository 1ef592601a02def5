#include "core/toolpath/tooth_reader.h"

#include "core/text/error.h"
#include "core/text/number_parse.h"

namespace ostrivane {
namespace {

bool blank(char c) {
    return c == ' ' || c == '\t';
}

// A word of a damaged file as a message can show it: short, and printable ASCII only.
std::string shown(std::string_view word) {
    constexpr std::size_t kLongest = 40;
    std::string out;
    for (char c : word.substr(0, kLongest)) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte >= 0x20 && byte < 0x7F ? c : '?';
    }
    if (word.size() > kLongest)
        out += "...";
    return out;
}

}  // namespace

ToothFile::ToothFile(std::string bytes, std::string name)
    : bytes_(std::move(bytes)), name_(std::move(name)), lines_(bytes_) {}

std::string_view ToothFile::next_word() {
    const auto line = lines_.next();
    if (!line) {
        throw Error("The tooth file " + name_ + " ends at line " +
                    std::to_string(lines_.line_number()) + ", before all its teeth were read");
    }
    std::size_t begin = 0;
    while (begin < line->size() && blank((*line)[begin]))
        ++begin;
    std::size_t end = begin;
    while (end < line->size() && !blank((*line)[end]))
        ++end;
    return line->substr(begin, end - begin);
}

void ToothFile::refuse(std::string_view word, std::string_view kind) const {
    throw Error("The tooth file " + name_ + ", line " + std::to_string(lines_.line_number()) +
                ": '" + shown(word) + "' is not a valid " + std::string(kind) + " value");
}

std::int32_t ToothFile::read_count() {
    const std::string_view word = next_word();
    const auto count = parse_int(word);
    if (!count)
        refuse(word, "integer");
    return *count;
}

double ToothFile::read_number() {
    const std::string_view word = next_word();
    const auto value = parse_float(word);
    if (!value)
        refuse(word, "floating point");
    return *value;
}

void ToothFile::skip_line() {
    // A missing line that would not be read anyway is no damage.
    lines_.next();
}

}  // namespace ostrivane
