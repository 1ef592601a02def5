#include "render/offscreen_application.h"

#include <QString>
#include <iostream>

namespace ostrivane {
namespace {

// Qt's notes about the platform (a missing runtime folder and the like) are not the command
// line's business; its real errors still reach standard error.
void only_errors(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << message.toStdString() << '\n';
}

}  // namespace

std::unique_ptr<QGuiApplication> offscreen_application() {
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    qInstallMessageHandler(only_errors);
    // Qt keeps argc and argv for the application's lifetime.
    static int argc = 3;
    static char name[] = "ostrivane-cli";
    static char platform_option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platform_option, platform, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace ostrivane
