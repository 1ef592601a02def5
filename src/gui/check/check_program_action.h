#pragma once
#include <QPointer>
#include <QString>
#include <filesystem>
#include <functional>

#include "core/app/field_source.h"
#include "core/app/operator.h"
#include "core/check/job_check.h"

class QWidget;

namespace ostrivane::gui {

class BackplotWindow;

// "Check program": asks for a G-code program (the newest in the G-code folder, or else in
// Documents, chosen already), checks it against the job of the fields with a progress dialog
// that can cancel, and shows its backplot.
class CheckProgramAction {
  public:
    // `turning` gives the profile of the current program when the check needs it.
    // `options` gives the machine's limits at the moment of the check.
    CheckProgramAction(QWidget* parent, const FieldSource& fields, Operator& op,
                       std::function<TurningSource()> turning, std::filesystem::path data_folder,
                       std::function<JobCheckOptions()> options = {});

    void run();
    // The backplot last opened, while it is open.
    BackplotWindow* window() const;

  private:
    QString start_folder() const;
    void open(const std::filesystem::path& program);

    QWidget* parent_;
    const FieldSource& fields_;
    Operator& op_;
    std::function<TurningSource()> turning_;
    std::filesystem::path data_folder_;
    std::function<JobCheckOptions()> options_;
    QPointer<BackplotWindow> window_;
};

}  // namespace ostrivane::gui
