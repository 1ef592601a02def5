#pragma once
#include <string>
#include <string_view>

class QWidget;

namespace ostrivane {
class FieldSource;
class Operator;
}  // namespace ostrivane

namespace ostrivane::gui {

// What "Create saw plans" needs of the window that offers it: a parent for its dialogs, the
// job fields, the message boxes, the data folder and the log. The main window is the host in
// the program; the plan flow knows nothing else of it.
class SawPlanHost {
  public:
    virtual ~SawPlanHost() = default;

    // The window the print dialog and the plan window are shown over.
    virtual QWidget* dialog_parent() = 0;
    // The main window's fields by name (the program name, the spline settings).
    virtual FieldSource& fields() = 0;
    virtual Operator& operator_interface() = 0;
    // The data folder with its final separator.
    virtual const std::string& IniFilePath() const = 0;
    // Logs one message. Throws Error when the log file cannot be written.
    virtual void log(std::string_view aMessage, bool critical) = 0;
};

}  // namespace ostrivane::gui
