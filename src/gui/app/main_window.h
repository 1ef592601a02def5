#pragma once
#include <QMainWindow>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "core/app/log.h"
#include "core/app/operator.h"
#include "core/app/state_file.h"
#include "core/check/job_check.h"
#include "core/fingerjoint/fast_rec.h"
#include "gui/planner/saw_plan_host.h"
#include "gui/widgets/memo_sink.h"
#include "gui/widgets/qt_job_context.h"
#include "gui/widgets/widget_form.h"

class QTabWidget;

namespace ostrivane::gui {

class QtOperator;
class TSplineform;
class ProgramFiles;
class SawPlans;
class CheckProgramAction;

// The main window: owner of every job and machine setting, kept as the contents of its fields.
// It hosts "Create saw plans", which sees it only through that narrow interface.
class TOstrivane : public QMainWindow, private SawPlanHost {
    Q_OBJECT
  public:
    // `op` answers the window's message boxes; by default real ones are shown.
    explicit TOstrivane(Operator* op = nullptr, QWidget* parent = nullptr);
    ~TOstrivane() override;

    // The fields by name, read by jobs at the moment they need them.
    FieldSource& fields() override { return *form_; }
    Operator& operator_interface() override { return *operator_; }
    QTabWidget* tabs() const { return tabs_; }

    // The data folder with its final separator.
    const std::string& IniFilePath() const override { return IniFilePath_; }
    std::filesystem::path settings_file() const { return IniFilePath_ + "Settings.ini"; }
    // The tooth file chosen for turning jobs, when one has been chosen.
    const std::optional<std::string>& tnd_file() const { return tnd_file_; }
    const std::optional<std::string>& machine_ini() const { return machine_ini_; }
    // What a check of this window's jobs needs beside the fields: the limits of the chosen
    // LinuxCNC configuration (the defaults, logged, when it cannot be read) and the kind.
    JobCheckOptions check_options(std::optional<ProgramKind> kind);

    // Logs one message. Throws Error when the log file cannot be written.
    void log(std::string_view aMessage, bool critical) override;
    Log& the_log() { return *log_; }
    // "Create saw plans" with the plan window and printer it keeps.
    SawPlans& saw_plans() { return *saw_plans_; }
    // "Check program" and the backplot it opens.
    CheckProgramAction& check_program() { return *check_program_; }

    // Writes Settings.ini: the state record, then the tooth-file section. Throws Error.
    void save_settings();

    // True for the files the window opens when they are named on its command line: programs
    // (.gof), profiles (.spl) and tooth files (.tnd).
    static bool opens(const std::filesystem::path& file);
    // Opens one of those files as the window's own buttons would. Throws Error.
    void open_file(const std::filesystem::path& file);
    // How soon a long job of the window shows its progress, and how often it repaints.
    void set_job_timing(QtJobContext::Timing timing) { job_timing_ = timing; }

  public Q_SLOTS:
    void write_motClick();
    void write_tndClick();
    void SaveSetClick();
    void loadtndClick();
    // Chooses the G-code folder with a folder dialog.
    void browse_gcode_folder();
    void FormSaveState();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate();
    void restore_settings();
    void loadini();
    void connect_buttons();
    void create_editor();
    QWidget* dialog_parent() override { return this; }
    // Writes the tooth file chosen (possibly none) into Settings.ini.
    void saveini();
    void browse_machine_ini();
    // The finger-joint job's verdict, below the tabs.
    void show_job_status(const QString& text);
    void show_machine_ini();
    void open_profile(const std::filesystem::path& file);
    // Copies a profile from elsewhere into the data folder as the profile of program `name`,
    // asked before another of that name is replaced; false when the operator kept the other.
    // Throws Error for a file that is not a spline file of this program's version.
    bool adopt_profile(const std::filesystem::path& file, const std::string& name);
    // After a program was opened from the command line: its profile, or a word that it has none.
    void open_program_profile(const std::filesystem::path& program);
    void create_check_program();
    // The caption names the program that "Save program" would write.
    void show_program_name();

    std::unique_ptr<QtOperator> own_operator_;
    Operator* operator_;
    QTabWidget* tabs_ = nullptr;
    std::unique_ptr<WidgetForm> form_;
    std::unique_ptr<Log> log_;
    std::unique_ptr<MemoSink> screen_sink_;
    std::unique_ptr<MemoSink> critical_sink_;
    std::string IniFilePath_;
    std::optional<std::string> tnd_file_;
    // The LinuxCNC configuration whose limits time the checks; kept in Settings.ini.
    std::optional<std::string> machine_ini_;
    std::unique_ptr<TSplineform> editor_;
    std::unique_ptr<ProgramFiles> program_files_;
    std::unique_ptr<CheckProgramAction> check_program_;
    StateRestore settings_restore_;  // what became of Settings.ini at start
    QtJobContext::Timing job_timing_;
    int jobs_running_ = 0;  // a job pumping events is under way
    TfastRec fast_record_;
    // Last, so the plan window goes before the fields and the log it uses.
    std::unique_ptr<SawPlans> saw_plans_;
};

}  // namespace ostrivane::gui
