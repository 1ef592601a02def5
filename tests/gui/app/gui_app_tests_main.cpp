#include <QApplication>
#include <QTest>

#include "main_window_test.h"
#include "open_file_test.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        MainWindowTest test;
        status |= QTest::qExec(&test, argc, argv);
    }
    {
        OpenFileTest test;
        status |= QTest::qExec(&test, argc, argv);
    }
    return status;
}
