#include "gui/planner/create_saw_plans.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

#include "core/app/field_source.h"
#include "core/app/known_folders.h"
#include "core/curve/spline_file.h"
#include "core/curve/spline_points.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "gui/app/main_window.h"
#include "gui/app/qt_operator.h"
#include "gui/planner/plan_window.h"

namespace ostrivane::gui {
namespace {

// Turn axis position the editor starts with.
constexpr double kDefaultAxis = 100;

// Everything "Create saw plans" keeps between uses, owned by the main window.
class SawPlans final : public QObject {
  public:
    explicit SawPlans(TOstrivane& main)
        : QObject(&main),
          printer(std::make_unique<QPrinter>(QPrinter::HighResolution)),
          window(new Tplanform(
              main.IniFilePath(),
              [&main](std::string_view message, bool critical) {
                  // A log file that cannot be written must not end the plan.
                  try {
                      main.log(message, critical);
                  } catch (const std::exception&) {
                  }
              },
              &main.operator_interface(), &main)),
          saved_profile(window->thegrita()) {
        setObjectName(QStringLiteral("SawPlans"));
    }

    std::unique_ptr<QPrinter> printer;
    Tplanform* window;  // a child of the main window
    // The profile of the current program's spline file, while there is no editor to ask.
    TBetaSPLpoints saved_profile;
};

SawPlans& saw_plans(TOstrivane& main) {
    if (auto* kept =
            main.findChild<SawPlans*>(QStringLiteral("SawPlans"), Qt::FindDirectChildrenOnly))
        return *kept;
    return *new SawPlans(main);
}

bool run_print_dialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setAccessibleName(QStringLiteral("Print"));
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

Tplanform& plan_window(TOstrivane& main) {
    return *saw_plans(main).window;
}

QPrinter& plan_printer(TOstrivane& main) {
    return *saw_plans(main).printer;
}

bool createplanClick(TOstrivane& main, TBetaSPLpoints& profile, double draaias,
                     const PrintDialogRunner& run_dialog) {
    SawPlans& kept = saw_plans(main);
    QPrinter& printer = *kept.printer;
    const std::string name = main.fields().text("Smot_name");
    printer.setDocName(QString::fromStdString(name + " saw plan"));
    // Without a printer the dialog can only print to a file: offer one in Documents.
    if (QPrinterInfo::availablePrinterNames().isEmpty() && printer.outputFileName().isEmpty()) {
        printer.setOutputFileName(QDir(QString::fromStdString(documents_folder().string()))
                                      .filePath(QString::fromStdString(name + " saw plan.pdf")));
    }
    const bool accepted =
        run_dialog ? run_dialog(printer, &main) : run_print_dialog(printer, &main);
    if (!accepted)
        return false;
    kept.window->set_sources(&profile, draaias, &main.fields(), &printer);
    kept.window->exec();
    // The window keeps nothing it was lent once it is closed.
    kept.window->set_sources(nullptr, draaias, nullptr, nullptr);
    return true;
}

bool createplanClick(TOstrivane& main, const PrintDialogRunner& run_dialog) {
    bool accepted = false;
    // A button's action: an error is shown to the operator, never thrown into the event loop.
    run_action(main.operator_interface(), [&] {
        SawPlans& kept = saw_plans(main);
        TBetaSPLpoints& profile = kept.saved_profile;
        const FieldSource& fields = main.fields();
        profile.set_data(validate_float(fields, "Ssaw_width"), validate_float(fields, "resolution"),
                         fields.checked("match1"));
        profile.load_shape({});
        const std::string file = main.IniFilePath() + fields.text("Smot_name") + ".spl";
        if (const auto bytes = read_file_if_exists(file, kMaxSplineFileBytes, "a spline file")) {
            SplineDocument document;
            const auto version = read_spline_file(*bytes, document, profile.notices());
            if (version && *version == kSplineFileVersion)
                profile.load_shape(document.profile);
        }
        accepted = createplanClick(main, profile, kDefaultAxis, run_dialog);
    });
    return accepted;
}

}  // namespace ostrivane::gui
