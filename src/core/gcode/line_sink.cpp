#include "core/gcode/line_sink.h"

#include "core/text/ascii_text.h"

namespace ostrivane {

void StringSink::write_line(std::string_view line) {
    append_ascii7(text_, line);
    text_ += crlf;
}

}  // namespace ostrivane
