#include <QApplication>
#include <QTest>

#include "frame_field_test.h"
#include "main_window_test.h"
#include "open_file_test.h"
#include "qt_job_context_test.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        MainWindowTest test;
        status |= QTest::qExec(&test, argc, argv);
    }
    {
        FrameFieldTest test;
        status |= QTest::qExec(&test, argc, argv);
    }
    {
        OpenFileTest test;
        status |= QTest::qExec(&test, argc, argv);
    }
    {
        QtJobContextTest test;
        status |= QTest::qExec(&test, argc, argv);
    }
    return status;
}
