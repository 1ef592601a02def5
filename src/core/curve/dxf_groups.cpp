#include "core/curve/dxf_groups.h"

#include <string>

#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/number_parse.h"

namespace ostrivane {
namespace {

constexpr std::size_t kExcerpt = 40;
// Editors on Windows put it before the first group of a file saved as UTF-8.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool is(const DxfGroup& g, int code, std::string_view value) {
    return g.code == code && equal_nocase(g.value, value);
}

// Millimetres per unit of $INSUNITS.
double unit_in_mm(int units, std::size_t line) {
    switch (units) {
        case 0:  // unitless: as the program's own files
        case 4:
            return 1;
        case 1:
            return 25.4;
        case 2:
            return 304.8;
        case 5:
            return 10;
        case 6:
            return 1000;
        case 8:
            return 25.4e-6;
        case 9:
            return 0.0254;
        case 10:
            return 914.4;
        case 13:
            return 0.001;
        case 14:
            return 100;
        default:
            throw Error("Line " + std::to_string(line) + ": the drawing unit " +
                        std::to_string(units) +
                        " ($INSUNITS) is not one a turned profile is drawn in");
    }
}

}  // namespace

DxfGroupReader::DxfGroupReader(std::string_view text) : text_(text) {
    if (text_.starts_with(kByteOrderMark))
        at_ = kByteOrderMark.size();
}

DxfGroupReader::DxfGroupReader(std::string_view text, std::size_t offset, std::size_t line)
    : text_(text), at_(offset), line_(line - 1) {}

std::optional<std::string_view> DxfGroupReader::next_line() {
    if (at_ >= text_.size())
        return std::nullopt;
    std::size_t end = at_;
    while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r')
        ++end;
    const std::string_view line = text_.substr(at_, end - at_);
    if (end < text_.size() && text_[end] == '\r' && end + 1 < text_.size() &&
        text_[end + 1] == '\n')
        ++end;
    at_ = end + 1;
    ++line_;
    return line;
}

std::optional<DxfGroup> DxfGroupReader::next() {
    const auto code_line = next_line();
    if (!code_line)
        return std::nullopt;
    const std::size_t line = line_;
    const auto code = parse_int(trim(*code_line));
    if (!code) {
        throw Error("Line " + std::to_string(line) + ": '" +
                    printable_excerpt(trim(*code_line), kExcerpt) +
                    "' is not a DXF group code: this is not a DXF file saved as text");
    }
    const auto value = next_line();
    if (!value)
        throw Error("Line " + std::to_string(line) +
                    ": the file ends without the value of this group");
    return DxfGroup{*code, trim(*value), line};
}

std::optional<DxfEntityReader::Placed> DxfEntityReader::next_placed() {
    if (ahead_) {
        auto placed = ahead_;
        ahead_.reset();
        return placed;
    }
    const auto g = groups_.next();
    if (!g)
        return std::nullopt;
    return Placed{*g, groups_.offset(), groups_.line()};
}

std::optional<DxfEntity> DxfEntityReader::next() {
    while (!reached_eof_) {
        const auto placed = next_placed();
        if (!placed)
            return std::nullopt;
        const DxfGroup& g = placed->group;
        if (is(g, 0, "EOF")) {
            reached_eof_ = true;
            return std::nullopt;
        }
        if (is(g, 0, "SECTION")) {
            ahead_ = next_placed();
            if (ahead_ && ahead_->group.code == 2) {
                section_ = ahead_->group.value;
                ahead_.reset();
                continue;
            }
        }
        if (is(g, 0, "ENDSEC")) {
            section_ = {};
            continue;
        }
        if (equal_nocase(section_, "HEADER") && is(g, 9, "$INSUNITS")) {
            const auto value = next_placed();
            if (!value)
                continue;
            const DxfGroup& v = value->group;
            const auto units = parse_int(v.value);
            if (!units) {
                throw Error("Line " + std::to_string(v.line) + ": '" +
                            printable_excerpt(v.value, kExcerpt) +
                            "' is not a drawing unit ($INSUNITS)");
            }
            unit_mm_ = unit_in_mm(*units, v.line);
        } else if (equal_nocase(section_, "ENTITIES") && g.code == 0) {
            return DxfEntity{g.value, g.line, placed->after, placed->after_line};
        }
    }
    return std::nullopt;
}

}  // namespace ostrivane
