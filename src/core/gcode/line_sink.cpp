#include "core/gcode/line_sink.h"

#include "core/text/ascii_text.h"

namespace ostrivane {

void StringSink::write_line(std::string_view line) {
    text_ += to_ascii7(line);
    text_ += crlf;
}

}  // namespace ostrivane
