#include <QApplication>

#include "gui/app/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostrivane"));
    QApplication::setApplicationVersion(QStringLiteral(OSTRIVANE_VERSION));
    ostrivane::gui::TOstrivane window;
    window.show();
    return app.exec();
}
