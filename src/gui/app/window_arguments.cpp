#include "gui/app/window_arguments.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <system_error>

#include "gui/app/main_window.h"

namespace ostrivane::gui {
namespace fs = std::filesystem;
namespace {

// Qt's own options (QGuiApplication, QApplication and the X11 platform), which Qt takes out of
// the command line itself once it starts. They may be written with one dash or two.
constexpr std::array<std::string_view, 15> kQtOptionsWithValue = {
    "platform",        "platformpluginpath",
    "platformtheme",   "plugin",
    "qwindowgeometry", "qwindowicon",
    "qwindowtitle",    "session",
    "display",         "geometry",
    "title",           "name",
    "visual",          "style",
    "stylesheet"};
constexpr std::array<std::string_view, 5> kQtOptionsAlone = {"reverse", "widgetcount", "nograb",
                                                             "dograb", "sync"};
constexpr std::array<std::string_view, 3> kQtOptionsWithEquals = {"qmljsdebugger", "fontengine",
                                                                  "dialogs"};

template <std::size_t N>
bool among(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// How many words a Qt option takes (1 or 2), or 0 when the word is not one of Qt's options.
int qt_option_words(std::string_view word) {
    word.remove_prefix(word.starts_with("--") ? 2 : 1);
    if (const std::size_t eq = word.find('='); eq != std::string_view::npos) {
        const std::string_view name = word.substr(0, eq);
        return among(kQtOptionsWithValue, name) || among(kQtOptionsWithEquals, name) ? 1 : 0;
    }
    if (among(kQtOptionsWithValue, word))
        return 2;
    return among(kQtOptionsAlone, word) ? 1 : 0;
}

WindowArguments refuse(std::string complaint) {
    WindowArguments result;
    result.answer = WindowArguments::Answer::Refuse;
    result.complaint = "ostrivane: " + std::move(complaint) + "\n";
    return result;
}

}  // namespace

WindowArguments read_window_arguments(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--")
            break;
        if (word == "--help" || word == "-h")
            return {WindowArguments::Answer::Help, {}, {}};
        if (word == "--version")
            return {WindowArguments::Answer::Version, {}, {}};
    }
    WindowArguments result;
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (!options_ended && word == "--") {
            options_ended = true;
            continue;
        }
        if (!options_ended && word.size() > 1 && word.front() == '-') {
            const int words = qt_option_words(word);
            if (words == 0)
                return refuse("unknown option " + word + " (see ostrivane --help)");
            i += words - 1;
            continue;
        }
        const fs::path file(word);
        if (!TOstrivane::opens(file)) {
            return refuse(word +
                          " is not a program (.gof), a profile (.spl) or a tooth file (.tnd)");
        }
        std::error_code ec;
        if (!fs::is_regular_file(file, ec)) {
            return refuse("cannot open " + word +
                          (fs::exists(file, ec) ? ": it is not a regular file" : ": no such file"));
        }
        result.files.push_back(file);
    }
    return result;
}

}  // namespace ostrivane::gui
