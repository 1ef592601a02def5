#include <QApplication>

#include "core/app/version.h"
#include "gui/app/main_window.h"
#include "gui/widgets/qt_text.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostrivane"));
    QApplication::setApplicationVersion(ostrivane::gui::qs(ostrivane::program_version));
    ostrivane::gui::TOstrivane window;
    window.show();
    return app.exec();
}
