#include "gui/check/check_program_action.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <utility>

#include "core/gcode/gcode_program.h"
#include "core/text/error.h"
#include "gui/check/backplot_moves.h"
#include "gui/check/backplot_window.h"
#include "gui/widgets/qt_job_context.h"
#include "gui/widgets/qt_text.h"

namespace ostrivane::gui {

CheckProgramAction::CheckProgramAction(QWidget* parent, const FieldSource& fields, Operator& op,
                                       std::function<TurningSource()> turning,
                                       std::filesystem::path data_folder,
                                       std::function<JobCheckOptions()> options)
    : parent_(parent),
      fields_(fields),
      op_(op),
      turning_(std::move(turning)),
      data_folder_(std::move(data_folder)),
      options_(std::move(options)) {}

BackplotWindow* CheckProgramAction::window() const {
    return window_;
}

QString CheckProgramAction::start_folder() const {
    // Where the jobs write their programs: the G-code folder when it names one, else Documents.
    const QString folder = qs(fields_.text("GcodeFolder")).trimmed();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void CheckProgramAction::run() {
    const QDir folder(start_folder());
    QFileDialog dialog(parent_, QStringLiteral("Check program"), folder.path(),
                       QStringLiteral("G-code programs (*.ngc);;All files (*)"));
    dialog.setObjectName(QStringLiteral("CheckProgramDialog"));
    dialog.setAccessibleName(QStringLiteral("Check program"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The program last written is the one to check, most of the time.
    const QFileInfoList newest =
        folder.entryInfoList({QStringLiteral("*.ngc")}, QDir::Files, QDir::Time);
    if (!newest.isEmpty())
        dialog.selectFile(newest.front().fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    open(std::filesystem::path(dialog.selectedFiles().front().toStdU16String()));
}

void CheckProgramAction::open(const std::filesystem::path& program) {
    const QString name = QString::fromStdU16String(program.filename().u16string());
    JobCheck check;
    MoveRecorder recorder;
    const TurningSource turning = turning_();
    try {
        QtJobContext context(parent_, QStringLiteral("Checking ") + name);
        const JobCheckOptions options = options_ ? options_() : JobCheckOptions{};
        check = check_job_program(program, fields_, turning, data_folder_, op_, &context, &recorder,
                                  options);
    } catch (const JobCancelled&) {
        return;
    } catch (const Error& e) {
        op_.show_error(e.what());
        return;
    }
    if (window_ != nullptr)
        window_->close();
    window_ = new BackplotWindow(std::move(check), recorder.take(), name, parent_);
    window_->set_turning(turning.turn_axis, turning.beam_thickness);
    window_->setAttribute(Qt::WA_DeleteOnClose);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace ostrivane::gui
