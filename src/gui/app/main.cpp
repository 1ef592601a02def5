#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QTimer>
#include <filesystem>
#include <iostream>
#include <vector>

#include "core/app/version.h"
#include "gui/app/main_window.h"
#include "gui/app/window_arguments.h"
#include "gui/widgets/qt_operator.h"
#include "gui/widgets/qt_text.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    // The whole command line is read before Qt starts: a mistake, like --help and --version,
    // is then answered without a display.
    const ostrivane::gui::WindowArguments arguments =
        ostrivane::gui::read_window_arguments(argc, argv);
    switch (arguments.answer) {
        case ostrivane::gui::WindowArguments::Answer::Help:
            std::cout << kHelp;
            return 0;
        case ostrivane::gui::WindowArguments::Answer::Version:
            std::cout << "ostrivane " << ostrivane::program_version << '\n';
            return 0;
        case ostrivane::gui::WindowArguments::Answer::Refuse:
            std::cerr << arguments.complaint;
            return 2;
        case ostrivane::gui::WindowArguments::Answer::Open:
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
    ostrivane::gui::TOstrivane window;
    window.show();
    // Opened once the event loop runs: a profile opens the editor, which is modal.
    const std::vector<std::filesystem::path>& files = arguments.files;
    QTimer::singleShot(0, &window, [&window, &files] {
        for (const std::filesystem::path& file : files)
            ostrivane::gui::run_action(window.operator_interface(),
                                       [&] { window.open_file(file); });
    });
    return app.exec();
}
