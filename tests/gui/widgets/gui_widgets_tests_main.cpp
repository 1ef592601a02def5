#include <QApplication>
#include <QTest>

#include "frame_field_test.h"
#include "qt_job_context_test.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        FrameFieldTest test;
        status |= QTest::qExec(&test, argc, argv);
    }
    {
        QtJobContextTest test;
        status |= QTest::qExec(&test, argc, argv);
    }
    return status;
}
