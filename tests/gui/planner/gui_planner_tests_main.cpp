#include <QApplication>
#include <QTest>

#include "plan_window_test.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    PlanWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
