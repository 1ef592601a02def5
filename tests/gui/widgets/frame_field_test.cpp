#include "frame_field_test.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <clocale>

#include "core/text/error.h"
#include "gui/widgets/frame_field.h"

using ostrivane::gui::TFrame1;

namespace {

QString error_of(const std::function<void()>& check) {
    try {
        check();
    } catch (const ostrivane::Error& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("(no error)");
}

}  // namespace

void FrameFieldTest::innerControlsAreNamedForTheStateFile() {
    TFrame1 field(QStringLiteral("saw_width"), QStringLiteral("Saw width (mm)"),
                  QStringLiteral("3.2"), 200);
    QCOMPARE(field.findChild<QLineEdit*>(QStringLiteral("Ed")), field.Ed());
    QCOMPARE(field.findChild<QLabel*>(QStringLiteral("Label1")), field.Label1());
    QCOMPARE(field.Label1()->width(), 200);
    // Screen readers and GUI robots find the box by its caption.
    QCOMPARE(field.Ed()->accessibleName(), QStringLiteral("Saw width (mm)"));
    QCOMPARE(field.Label1()->buddy(), field.Ed());
    TFrame1 plain;
    QCOMPARE(plain.Label1()->text(), QStringLiteral("Label1"));
    QCOMPARE(plain.Label1()->width(), 120);
    QCOMPARE(plain.size(), QSize(320, 30));
}

void FrameFieldTest::checksGiveTheFieldsMessage() {
    TFrame1 field(QStringLiteral("saw_width"), QStringLiteral("Saw width (mm)"), QString(), 200);
    field.Ed()->clear();
    QTest::keyClicks(field.Ed(), QStringLiteral("3,2"));
    QCOMPARE(error_of([&] { field.validate_float(); }),
             QStringLiteral("3,2 inside Saw width (mm) is not a valid floating point number."));
    field.Ed()->clear();
    QCOMPARE(error_of([&] { field.validate_float(); }),
             QStringLiteral(" inside Saw width (mm) is not a valid floating point number."));
    QTest::keyClicks(field.Ed(), QStringLiteral("2.0"));
    QCOMPARE(field.validate_float(), 2.0);
    QCOMPARE(error_of([&] { field.validate_integer(); }),
             QStringLiteral("2.0 inside Saw width (mm) is not a valid round number."));
    field.Ed()->setText(QStringLiteral("2"));
    QCOMPARE(field.validate_integer(), 2);
}

void FrameFieldTest::checksIgnoreTheDesktopLocale() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    TFrame1 field(QStringLiteral("x"), QStringLiteral("X"), QStringLiteral("3.2"), 200);
    QCOMPARE(field.validate_float(), 3.2);
    field.Ed()->setText(QStringLiteral("3,2"));
    QVERIFY_THROWS_EXCEPTION(ostrivane::Error, field.validate_float());
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
}

void FrameFieldTest::rescaleGrowsForLongLabels() {
    TFrame1 field(QStringLiteral("x"), QStringLiteral("Short"), QString(), 200);
    field.show();
    const QFontMetricsF metrics(field.Label1()->font());
    const double h = static_cast<float>(metrics.height());
    const int edit_height = field.Ed()->height();
    field.rescale(600, 1);
    QCOMPARE(field.Label1()->width(), 400);
    const int one_line = std::lround(std::max(edit_height + 5.0, h + 12.0));
    QCOMPARE(field.height(), one_line);
    field.Label1()->setText(QString(200, QChar('W')));
    field.rescale(600, 1);
    QVERIFY(field.height() > one_line);
}
