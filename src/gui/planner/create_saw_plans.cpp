#include "gui/planner/create_saw_plans.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopedValueRollback>

#include "core/app/field_source.h"
#include "core/app/known_folders.h"
#include "core/app/program_paths.h"
#include "core/curve/profile_load.h"
#include "core/curve/spline_file.h"
#include "core/curve/spline_points.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "gui/planner/plan_window.h"
#include "gui/planner/saw_plan_host.h"
#include "gui/widgets/qt_operator.h"

namespace ostrivane::gui {
namespace {

// Turn axis position the editor starts with.
constexpr double kDefaultAxis = 100;

bool run_print_dialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setAccessibleName(QStringLiteral("Print"));
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

struct SawPlans::Kept {
    explicit Kept(SawPlanHost& host)
        : printer(std::make_unique<QPrinter>(QPrinter::HighResolution)),
          window(std::make_unique<Tplanform>(
              host.IniFilePath(),
              [&host](std::string_view message, bool critical) {
                  // A log file that cannot be written must not end the plan.
                  try {
                      host.log(message, critical);
                  } catch (const std::exception&) {
                  }
              },
              &host.operator_interface(), host.dialog_parent())),
          saved_profile(window->thegrita()) {}

    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<Tplanform> window;
    // The profile of the current program's spline file, while there is no editor to ask.
    TBetaSPLpoints saved_profile;
    bool running = false;  // the print dialog or the plan window is up
};

SawPlans::SawPlans(SawPlanHost& host) : host_(host) {}

SawPlans::~SawPlans() = default;

SawPlans::Kept& SawPlans::kept() {
    if (!kept_)
        kept_ = std::make_unique<Kept>(host_);
    return *kept_;
}

Tplanform& SawPlans::plan_window() {
    return *kept().window;
}

QPrinter& SawPlans::plan_printer() {
    return *kept().printer;
}

bool SawPlans::createplanClick(TBetaSPLpoints& profile, double turning_axis_y,
                               const PrintDialogRunner& run_dialog) {
    Kept& k = kept();
    // The button stays reachable while the dialog or the window is up (a shortcut, a second
    // click queued before the window showed): one run of the flow at a time.
    if (k.running || k.window->isVisible()) {
        k.window->raise();
        k.window->activateWindow();
        return false;
    }
    const QScopedValueRollback<bool> running(k.running, true);
    QPrinter& printer = *k.printer;
    const std::string name = host_.fields().text("Smot_name");
    printer.setDocName(QString::fromStdString(name + " saw plan"));
    // Without a printer the dialog can only print to a file: offer one in Documents.
    if (QPrinterInfo::availablePrinterNames().isEmpty() && printer.outputFileName().isEmpty()) {
        printer.setOutputFileName(QDir(QString::fromStdString(documents_folder().string()))
                                      .filePath(QString::fromStdString(name + " saw plan.pdf")));
    }
    QWidget* parent = host_.dialog_parent();
    const bool accepted =
        run_dialog ? run_dialog(printer, parent) : run_print_dialog(printer, parent);
    if (!accepted)
        return false;
    k.window->set_sources(&profile, turning_axis_y, &host_.fields(), &printer);
    k.window->exec();
    // The window keeps nothing it was lent once it is closed.
    k.window->set_sources(nullptr, turning_axis_y, nullptr, nullptr);
    return true;
}

bool SawPlans::createplanClick(const PrintDialogRunner& run_dialog) {
    // The open window may be planning the saved profile: it is not reloaded under it.
    if (kept_ && (kept_->running || kept_->window->isVisible()))
        return createplanClick(kept_->saved_profile, kDefaultAxis, run_dialog);
    bool accepted = false;
    // A button's action: an error is shown to the operator, never thrown into the event loop.
    run_action(host_.operator_interface(), [&] {
        TBetaSPLpoints& profile = kept().saved_profile;
        const FieldSource& fields = host_.fields();
        profile.set_data(validate_float(fields, "Ssaw_width"), validate_float(fields, "resolution"),
                         fields.checked("match1"));
        profile.load_shape({});
        const std::filesystem::path file = program_spline_file(
            std::filesystem::u8path(host_.IniFilePath()), fields.text("Smot_name"));
        if (const auto bytes = read_file_if_exists(file, kMaxSplineFileBytes, "a spline file"))
            load_profile(*bytes, profile, profile.notices(), BetaSpline::kMaxPoints);
        accepted = createplanClick(profile, kDefaultAxis, run_dialog);
    });
    return accepted;
}

}  // namespace ostrivane::gui
