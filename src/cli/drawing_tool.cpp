#include "cli/drawing_tool.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <string>
#include <system_error>

#include "core/text/error.h"
#include "core/text/file_io.h"

namespace ostrivane::cli {
namespace fs = std::filesystem;
namespace {

// The plan command's options that write a drawing.
constexpr std::array<const char*, 3> kDrawingOptions = {"--pdf", "--svg", "--dxf"};

// This program's own file, links followed.
fs::path own_program() {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self;
}

bool is_program(const fs::path& file) {
    return ::access(file.c_str(), X_OK) == 0 && !fs::is_directory(file);
}

}  // namespace

bool wants_drawing(const CLI::App& tool) {
    for (const CLI::App* command : tool.get_subcommands()) {
        if (command->get_name() != "plan")
            continue;
        for (const char* option : kDrawingOptions) {
            if (command->get_option(option)->count() > 0)
                return true;
        }
    }
    return false;
}

fs::path find_drawing_tool() {
    const fs::path folder = own_program().parent_path();
    if (folder.empty())
        return {};
    for (const fs::path& candidate :
         {folder / OSTRIVANE_DRAWING_TOOL,
          folder / OSTRIVANE_DRAWING_TOOL_FOLDER / OSTRIVANE_DRAWING_TOOL}) {
        if (is_program(candidate))
            return candidate.lexically_normal();
    }
    return {};
}

void run_drawing_tool(char** argv) {
    const fs::path tool = find_drawing_tool();
    if (tool.empty()) {
        const fs::path installed =
            (own_program().parent_path() / OSTRIVANE_DRAWING_TOOL_FOLDER / OSTRIVANE_DRAWING_TOOL)
                .lexically_normal();
        throw Error("Drawing needs the program " + installed.string() + ", which is missing.");
    }
    const std::string file = tool.string();
    argv[0] = const_cast<char*>(file.c_str());
    ::execv(file.c_str(), argv);
    throw Error("Drawing needs the program " + file +
                ", which cannot be started: " + system_message(errno));
}

}  // namespace ostrivane::cli
