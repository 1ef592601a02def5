#include "gui/editor/program_files.h"

#include <QDebug>
#include <QFileDialog>
#include <filesystem>

#include "core/app/main_window_fields.h"
#include "core/app/program_paths.h"
#include "core/app/state_file.h"
#include "core/curve/spline_file.h"
#include "core/editor/spline_program.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "gui/editor/draw_spline.h"

namespace ostrivane::gui {
namespace fs = std::filesystem;

ProgramFiles::ProgramFiles(QWidget* main_window, FieldSource& fields, FormAccess& form,
                           Operator& op, std::string data_folder, TSplineform& editor,
                           Chooser chooser)
    : main_window_(main_window),
      fields_(fields),
      form_(form),
      op_(op),
      data_folder_(std::move(data_folder)),
      editor_(editor),
      chooser_(std::move(chooser)) {}

std::optional<std::string> ProgramFiles::choose(Choice choice) {
    if (chooser_)
        return chooser_(choice);
    const QString filter = QStringLiteral("gof (*.gof)");
    QString name;
    if (choice == Choice::SaveProgram) {
        // Programs live in the data folder, beside the turning programs.
        QFileDialog dialog(main_window_, QString(), QString::fromStdString(data_folder_), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("gof"));
        dialog.selectFile(QStringLiteral("settings"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            name = dialog.selectedFiles().first();
    } else {
        name = QFileDialog::getOpenFileName(main_window_, QString(),
                                            QString::fromStdString(data_folder_), filter);
    }
    if (name.isEmpty())
        return std::nullopt;
    return name.toStdString();
}

void ProgramFiles::SaveProgClick() {
    const auto file = choose(Choice::SaveProgram);
    if (!file)
        return;
    write_file_atomically(fs::u8path(*file), save_form_state(main_window_components(), form_));
}

void ProgramFiles::restore_main_window(const std::string& file) {
    // A program that cannot be restored is kept aside, never lost; the fields restored before
    // the failure stay.
    const StateRestore restore =
        restore_state_file(fs::u8path(file), main_window_components(), form_);
    if (restore.failure) {
        qDebug().noquote() << QString::fromStdString(
            state_diagnostic(main_window_class, *restore.failure));
    }
}

void ProgramFiles::loadbutClick() {
    if (const auto file = choose(Choice::OpenProgram))
        restore_main_window(*file);
}

bool ProgramFiles::SavesplineprogClick() {
    const std::string name = fields_.text("Smot_name");
    const SplineProgramFiles files = spline_program_files(fs::u8path(data_folder_), name);
    if (spline_program_exists(files) && !op_.ask_yes_no(name + " already exists. Overwrite ?"))
        return false;
    write_spline_program(files, save_form_state(main_window_components(), form_),
                         editor_.spline_file());
    editor_.program_saved();
    return true;
}

void ProgramFiles::LoadsplineprogClick() {
    const auto file = choose(Choice::OpenTurningProgram);
    if (!file)
        return;
    restore_main_window(*file);
    load_program_profile();
}

bool ProgramFiles::load_program_profile() {
    // The spline file is the data folder's one named after the program just restored.
    const fs::path spl = program_spline_file(fs::u8path(data_folder_), fields_.text("Smot_name"));
    std::error_code ec;
    if (!fs::exists(spl, ec))
        return false;
    // Read as the editor reads it on opening, with its point limit.
    editor_.editor().load_spline_file(read_file_limited(spl, kMaxSplineFileBytes, "a spline file"));
    editor_.program_loaded();
    return true;
}

int ProgramFiles::DrawSplineClick(bool fit) {
    editor_.clear_picture();
    editor_.load_data();
    if (fit)
        editor_.fit_view_to_profile();
    return editor_.exec();
}

}  // namespace ostrivane::gui
