#include "core/toolpath/tooth_reader.h"

#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/number_parse.h"

namespace ostrivane {
namespace {

bool blank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

ToothFile::ToothFile(std::string bytes, std::string name)
    : bytes_(std::move(bytes)), name_(std::move(name)), lines_(split_lines(bytes_)) {}

void ToothFile::ended() const {
    throw Error("The tooth file " + name_ + " ends at line " + std::to_string(next_) +
                ", before all its teeth were read");
}

std::string_view ToothFile::next_word() {
    if (next_ >= lines_.size())
        ended();
    const std::string_view line = lines_[next_++];
    std::size_t begin = 0;
    while (begin < line.size() && blank(line[begin]))
        ++begin;
    std::size_t end = begin;
    while (end < line.size() && !blank(line[end]))
        ++end;
    return line.substr(begin, end - begin);
}

void ToothFile::refuse(std::string_view word, std::string_view kind) const {
    throw Error("The tooth file " + name_ + ", line " + std::to_string(next_) + ": '" +
                printable_excerpt(word, 40) + "' is not a valid " + std::string(kind) + " value");
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
    if (next_ < lines_.size())
        ++next_;
}

}  // namespace ostrivane
