#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace ostrivane::gui {

// What the window's command line asks for, read before Qt starts: a word Qt would have taken
// is skipped here, everything else must be a file the window opens.
struct WindowArguments {
    enum class Answer { Open, Help, Version, Refuse };
    Answer answer = Answer::Open;
    std::vector<std::filesystem::path> files;  // for Open, in the order given
    std::string complaint;                     // for Refuse: one line for standard error
};

// Reads argv[1 …]. --help and --version anywhere before "--" win over everything else; an
// unknown option, a file of another kind or a file that is not there refuses the whole line.
WindowArguments read_window_arguments(int argc, const char* const* argv);

}  // namespace ostrivane::gui
