#include <QApplication>
#include <QTest>

#include "main_window_test.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
