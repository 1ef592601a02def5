#include "core/text/file_lines.h"

#include <string>

#include "core/text/error.h"
#include "core/text/input_file.h"

namespace ostrivane {

void for_each_line_of_file(const std::filesystem::path& file, std::uint64_t max_bytes,
                           std::string_view what, std::size_t max_line,
                           const std::function<void(std::string_view, std::uint64_t)>& line) {
    InputFile in(file, max_bytes, what);
    std::string chunk(64 * 1024, '\0');
    std::string pending;  // the start of a line that goes on in the next chunk
    std::uint64_t read = 0;
    std::uint64_t lines = 0;
    bool after_cr = false;
    const auto too_long = [&] {
        return Error("Line " + std::to_string(lines + 1) + " of " + file.string() +
                     " is longer than " + std::to_string(max_line) + " characters, so it is not " +
                     std::string(what) + ".");
    };
    for (;;) {
        const std::size_t got = in.read(chunk.data(), chunk.size());
        if (got == 0)
            break;
        read += got;
        const std::string_view bytes(chunk.data(), got);
        std::size_t start = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const char c = bytes[i];
            if (c != '\n' && c != '\r') {
                after_cr = false;
                continue;
            }
            if (c == '\n' && after_cr && i == start && pending.empty()) {
                // The LF of a CR LF whose CR ended the previous piece.
                after_cr = false;
                start = i + 1;
                continue;
            }
            after_cr = c == '\r';
            std::string_view text = bytes.substr(start, i - start);
            if (!pending.empty()) {
                pending += text;
                text = pending;
            }
            if (text.size() > max_line)
                throw too_long();
            ++lines;
            line(text, read);
            pending.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
                after_cr = false;
            }
            start = i + 1;
        }
        pending += bytes.substr(start);
        if (pending.size() > max_line)
            throw too_long();
    }
    if (!pending.empty())
        line(pending, read);
}

}  // namespace ostrivane
