#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QTimer>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <vector>

#include "core/app/version.h"
#include "gui/app/main_window.h"
#include "gui/widgets/qt_operator.h"
#include "gui/widgets/qt_text.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kHelp =
    "usage: ostrivane [OPTION]... [FILE]...\n"
    "Ostrivane writes G-code for a CNC machine that cuts with a circular saw blade: finger\n"
    "joints, turned profiles and the saw plans of their glued-up blanks.\n"
    "\n"
    "Opens the main window, then each FILE as the window's buttons would:\n"
    "  NAME.gof      a saved program, as \"Load program\" on the \"Dynamic turning\" tab\n"
    "  NAME.spl      a turning profile, in the spline editor; a profile from outside the data\n"
    "                folder is copied there as the profile of the program NAME\n"
    "  NAME.tnd      the tooth file of turning jobs, as \"Load .tnd file\"\n"
    "\n"
    "options:\n"
    "  -h, --help    this text\n"
    "  --version     the program's version\n"
    "  --            the words after it are file names\n"
    "Qt's own options, such as -platform and -style, work as in every Qt program.\n"
    "Jobs without a window: ostrivane-cli --help.\n";

// --help and --version are answered before Qt starts, so they work without a display.
enum class EarlyAnswer { None, Help, Version };

EarlyAnswer early_answer(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return EarlyAnswer::Help;
        if (std::strcmp(argv[i], "--version") == 0)
            return EarlyAnswer::Version;
    }
    return EarlyAnswer::None;
}

// The files named after Qt took its own options; nullopt after a complaint on standard error.
std::optional<std::vector<fs::path>> file_arguments(const QStringList& arguments) {
    std::vector<fs::path> files;
    bool options_ended = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (!options_ended && word == QStringLiteral("--")) {
            options_ended = true;
            continue;
        }
        if (!options_ended && word.startsWith(QLatin1Char('-')) && word.size() > 1) {
            std::cerr << "ostrivane: unknown option " << word.toStdString()
                      << " (see ostrivane --help)\n";
            return std::nullopt;
        }
        const fs::path file(QFile::encodeName(word).toStdString());
        if (!ostrivane::gui::TOstrivane::opens(file)) {
            std::cerr << "ostrivane: " << word.toStdString()
                      << " is not a program (.gof), a profile (.spl) or a tooth file (.tnd)\n";
            return std::nullopt;
        }
        std::error_code ec;
        if (!fs::is_regular_file(file, ec)) {
            std::cerr << "ostrivane: cannot open " << word.toStdString()
                      << (fs::exists(file, ec) ? ": it is not a regular file\n"
                                               : ": no such file\n");
            return std::nullopt;
        }
        files.push_back(file);
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    switch (early_answer(argc, argv)) {
        case EarlyAnswer::Help:
            std::cout << kHelp;
            return 0;
        case EarlyAnswer::Version:
            std::cout << "ostrivane " << ostrivane::program_version << '\n';
            return 0;
        case EarlyAnswer::None:
            break;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostrivane"));
    QApplication::setApplicationVersion(ostrivane::gui::qs(ostrivane::program_version));
    // Desktops find the installed entry, and with it the icon and name, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.ostrivane.Ostrivane"));
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/ostrivane-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    const auto files = file_arguments(QApplication::arguments());
    if (!files)
        return 2;
    ostrivane::gui::TOstrivane window;
    window.show();
    // Opened once the event loop runs: a profile opens the editor, which is modal.
    QTimer::singleShot(0, &window, [&window, &files] {
        for (const fs::path& file : *files)
            ostrivane::gui::run_action(window.operator_interface(),
                                       [&] { window.open_file(file); });
    });
    return app.exec();
}
