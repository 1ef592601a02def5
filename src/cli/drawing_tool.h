#pragma once
#include <CLI/CLI.hpp>
#include <filesystem>

namespace ostrivane::cli {

// Drawing (plan --pdf, --svg, --dxf) needs Qt Gui, whose libraries cost the tool more time to
// load than most of its jobs take to run. So the tool itself links no Qt: a command line that
// draws is handed, word for word, to the same tool built with Qt (the drawing tool), which
// takes this process over and answers as the tool would.

// True when the parsed command line asks for a drawing.
bool wants_drawing(const CLI::App& tool);

// Where the drawing tool is: beside this program (the build folder), else in its folder of the
// installation, found relative to this program. Empty when it is in neither place.
std::filesystem::path find_drawing_tool();

// Runs the drawing tool in this process with the words of `argv`. Returns only when it cannot
// be started, by throwing Error with the reason.
[[noreturn]] void run_drawing_tool(char** argv);

}  // namespace ostrivane::cli
