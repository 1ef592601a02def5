#pragma once
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "core/app/field_source.h"
#include "core/app/form_state.h"
#include "core/app/operator.h"

namespace ostrivane::gui {

class TSplineform;

// The main window's program-file buttons: whole jobs saved and loaded as a state file, and for
// the turning tab also the profile as a spline file of the same name in the data folder; and
// "Edit the splines". The main window calls one handler per button.
class ProgramFiles {
  public:
    enum class Choice { OpenProgram, SaveProgram, OpenTurningProgram };
    // Asks the operator for a file; nullopt when cancelled. By default Qt's file dialogs.
    using Chooser = std::function<std::optional<std::string>(Choice)>;

    ProgramFiles(QWidget* main_window, FieldSource& fields, FormAccess& form, Operator& op,
                 std::string data_folder, TSplineform& editor, Chooser chooser = {});

    void SaveProgClick();
    void loadbutClick();
    // True when the files were written (false when the operator kept the old ones).
    bool SavesplineprogClick();
    void LoadsplineprogClick();
    // Loads the data folder's spline file of the current program name into the editor; false
    // when there is none (the editor then keeps what it holds).
    bool load_program_profile();
    // Reloads the editor and shows it modally; returns its result. With `fit`, the view shows
    // the profile instead of the full view.
    int DrawSplineClick(bool fit = false);

  private:
    std::optional<std::string> choose(Choice choice);
    void restore_main_window(const std::string& file);

    QPointer<QWidget> main_window_;
    FieldSource& fields_;
    FormAccess& form_;
    Operator& op_;
    std::string data_folder_;
    TSplineform& editor_;
    Chooser chooser_;
};

}  // namespace ostrivane::gui
