#include "core/gcode/line_writer.h"

#include "core/text/ascii_text.h"

namespace ostrivane {

LineWriter::LineWriter(std::filesystem::path target, Mode mode)
    : file_(std::move(target)), mode_(mode) {}

LineWriter::~LineWriter() {
    abandon();
}

void LineWriter::write_line(std::string_view line) {
    if (is_ascii7(line)) {
        // The common case goes to the file as it is, without a copy.
        file_.write(line);
        file_.write(crlf);
        return;
    }
    line_.clear();
    append_ascii7(line_, line);
    line_ += crlf;
    file_.write(line_);
}

void LineWriter::commit() {
    file_.commit();
}

void LineWriter::abandon() noexcept {
    if (!file_.is_open())
        return;
    if (mode_ == Mode::staged) {
        file_.discard();
        return;
    }
    try {
        file_.commit();
    } catch (...) {
        // Nothing more can be kept; the error that stopped the job is the one to report.
    }
}

void LineWriter::discard() noexcept {
    file_.discard();
}

}  // namespace ostrivane
