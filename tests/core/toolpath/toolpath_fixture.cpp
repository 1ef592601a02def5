#include "toolpath_fixture.h"

#include <cstdlib>

namespace ostrivane::test {
namespace {

// The number after `letter ` in a move line, 0 when the word is the literal "0.0".
double word(const std::string& line, char letter) {
    const std::string key = std::string(" ") + letter;
    const std::size_t at = line.find(key);
    if (at == std::string::npos)
        return 0;
    return std::strtod(line.c_str() + at + 2, nullptr);
}

}  // namespace

std::vector<Position> trace(const std::vector<std::string>& lines) {
    std::vector<Position> out;
    Position p;
    for (const std::string& line : lines) {
        p.line = line;
        if (line.rfind("G28 ", 0) == 0) {
            const char axis = line[4];
            (axis == 'X' ? p.x : axis == 'Y' ? p.y : p.z) = 0;
        } else if (line.rfind("G00 X", 0) == 0 || line.rfind("G01 X", 0) == 0) {
            p.feed = line[2] == '1';
            p.x += word(line, 'X');
            p.y += word(line, 'Y');
            p.z += word(line, 'Z');
        }
        out.push_back(p);
    }
    return out;
}

std::vector<Plunge> plunges(const std::vector<Position>& positions) {
    std::vector<Plunge> out;
    double y = 0;
    for (const Position& p : positions) {
        // A Y move out of home; "Y0.0 " is the literal of a line that moves another axis.
        if (y == 0 && p.line.rfind("G00 X0.0 Y", 0) == 0 && p.line.compare(10, 4, "0.0 ") != 0)
            out.push_back({p.x, p.y});
        y = p.y;
    }
    return out;
}

}  // namespace ostrivane::test
