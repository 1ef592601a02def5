#include "gui/app/main_window.h"

#include <QCloseEvent>
#include <QDebug>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSessionManager>
#include <QStatusBar>
#include <QTabWidget>
#include <clocale>
#include <optional>
#include <string>

#include "core/app/dialog_folders.h"
#include "core/app/form_state.h"
#include "core/app/known_folders.h"
#include "core/app/main_window_fields.h"
#include "core/app/program_paths.h"
#include "core/app/state_file.h"
#include "core/check/job_check.h"
#include "core/check/machine_limits.h"
#include "core/check/program_stats.h"
#include "core/curve/spline_file.h"
#include "core/editor/spline_program.h"
#include "core/fingerjoint/finger_joint_program.h"
#include "core/fingerjoint/tooth_file.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/job_context.h"
#include "gui/app/main_window_layout.h"
#include "gui/check/check_program_action.h"
#include "gui/editor/draw_spline.h"
#include "gui/editor/program_files.h"
#include "gui/planner/create_saw_plans.h"
#include "gui/widgets/frame_field.h"
#include "gui/widgets/qt_job_context.h"
#include "gui/widgets/qt_operator.h"
#include "gui/widgets/qt_text.h"

namespace ostrivane::gui {
namespace fs = std::filesystem;
namespace {

// Numbers in fields, files and G-code always use "." whatever the desktop's locale; the core
// converts without the locale, and this keeps any C library conversion in line with it.
void ConfiguraRegiaoBR() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

// The Documents folder, where programs and tooth files go when no other folder is set, found
// as the command-line tool finds it; empty when it is not known (the jobs then refuse to guess).
fs::path documents_location() {
    try {
        return documents_folder();
    } catch (const Error&) {
        return {};
    }
}

// Counts a job as running while it lives.
class RunningJob {
  public:
    explicit RunningJob(int& count) : count_(count) { ++count_; }
    ~RunningJob() { --count_; }
    RunningJob(const RunningJob&) = delete;
    RunningJob& operator=(const RunningJob&) = delete;

  private:
    int& count_;
};

void debug_diagnostic(const std::string& message) {
    qDebug().noquote() << QString::fromStdString(state_diagnostic(main_window_class, message));
}

const QString kCaption = QStringLiteral("O s t r i v a n e");

// The kinds of file the window opens from its command line, known by their extension.
enum class FileKind { Program, Profile, ToothFile };

std::optional<FileKind> file_kind(const fs::path& file) {
    const std::string extension = file.extension().string();
    if (equal_nocase(extension, ".gof"))
        return FileKind::Program;
    if (equal_nocase(extension, ".spl"))
        return FileKind::Profile;
    if (equal_nocase(extension, ".tnd"))
        return FileKind::ToothFile;
    return std::nullopt;
}

// Refuses a file that is not a spline file of the version this program writes before it
// replaces anything.
void check_spline_version(const fs::path& file, std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned version = bytes.size() < 2 ? 0 : byte(0) | byte(1) << 8;
    if (version != kSplineFileVersion) {
        throw Error(file.string() +
                    " is not a spline file this program reads: its version word is " +
                    std::to_string(version) + ", not " + std::to_string(kSplineFileVersion));
    }
}

}  // namespace

TOstrivane::TOstrivane(Operator* op, QWidget* parent) : QMainWindow(parent) {
    if (op == nullptr)
        own_operator_ = std::make_unique<QtOperator>(this);
    operator_ = op != nullptr ? op : own_operator_.get();
    setObjectName(QStringLiteral("Ostrivane"));
    setWindowTitle(kCaption);
    setCentralWidget(build_main_window_content(this, tabs_));
    resize(480, 750);
    form_ = std::make_unique<WidgetForm>(this, main_window_components());
    log_ = std::make_unique<Log>(*form_, local_time_stamp);
    screen_sink_ =
        std::make_unique<MemoSink>(findChild<QPlainTextEdit*>(QStringLiteral("LogMemo")));
    critical_sink_ =
        std::make_unique<MemoSink>(findChild<QPlainTextEdit*>(QStringLiteral("Critmemo")));
    log_->attach_screen(screen_sink_.get());
    log_->attach_critical(critical_sink_.get());
    connect_buttons();
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { FormSaveState(); });
    FormCreate();
    create_editor();
    saw_plans_ = std::make_unique<SawPlans>(static_cast<SawPlanHost&>(*this));
    create_check_program();
    connect(findChild<TFrame1*>(QStringLiteral("Smot_name"))->Ed(), &QLineEdit::textChanged, this,
            [this] { show_program_name(); });
    show_program_name();
}

void TOstrivane::show_program_name() {
    const QString name = qs(form_->text("Smot_name")).trimmed();
    setWindowTitle(name.isEmpty() ? kCaption : name + QStringLiteral(" \u2014 ") + kCaption);
}

void TOstrivane::create_editor() {
    EditorLink link;
    link.fields = form_.get();
    link.op = operator_;
    link.data_folder = IniFilePath_;
    link.tnd_file = [this] { return tnd_file_.value_or(std::string()); };
    link.check_options = [this] { return check_options(ProgramKind::turning); };
    link.log = [this](std::string_view message, bool critical) { log(message, critical); };
    link.save_program = [this] { return program_files_->SavesplineprogClick(); };
    editor_ = std::make_unique<TSplineform>(std::move(link), this);
    program_files_ =
        std::make_unique<ProgramFiles>(this, *form_, *form_, *operator_, IniFilePath_, *editor_);
}

void TOstrivane::create_check_program() {
    // The current program's saved profile, about the editor's turn axis, as F7 would cut it.
    const auto turning = [this] {
        const fs::path spl = editor_->spline_file_path();
        return TurningSource{
            read_file_if_exists(spl, kMaxSplineFileBytes, "a spline file").value_or(std::string()),
            editor_->spline_pnts().job.draaias, editor_->spline_pnts().job.thickness,
            tnd_file_.value_or(std::string())};
    };
    // A program chosen from disk may be either kind: its header tells.
    check_program_ = std::make_unique<CheckProgramAction>(
        this, *form_, *operator_, turning, fs::u8path(IniFilePath_),
        [this] { return check_options(std::nullopt); });
    connect(findChild<QPushButton*>(QStringLiteral("checkprog")), &QPushButton::clicked, this,
            [this] {
                run_action(*operator_, [this] {
                    const RunningJob running(jobs_running_);
                    check_program_->run();
                });
            });
}

TOstrivane::~TOstrivane() {
    log_->close();
}

void TOstrivane::connect_buttons() {
    const auto on_click = [this](const char* name, void (TOstrivane::*handler)()) {
        auto* button = findChild<QPushButton*>(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, [this, handler] {
            run_action(*operator_, [this, handler] { (this->*handler)(); });
        });
    };
    on_click("write_mot", &TOstrivane::write_motClick);
    on_click("write_tnd", &TOstrivane::write_tndClick);
    on_click("SaveSet", &TOstrivane::SaveSetClick);
    on_click("loadtnd", &TOstrivane::loadtndClick);
    on_click("GcodeFolderBrowse", &TOstrivane::browse_gcode_folder);
    on_click("MachineIniBrowse", &TOstrivane::browse_machine_ini);
    // A path typed into the field counts as chosen once the typing is done.
    if (auto* field = findChild<TFrame1*>(QStringLiteral("MachineIni"))) {
        connect(field->Ed(), &QLineEdit::editingFinished, this, [this, field] {
            const std::string typed = field->Ed()->text().trimmed().toStdString();
            if (typed == machine_ini_.value_or(std::string()))
                return;
            machine_ini_ = typed;
            run_action(*operator_, [this] { saveini(); });
        });
    }
    const auto on_program_click = [this](const char* name, auto handler) {
        auto* button = findChild<QPushButton*>(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, [this, handler] {
            run_action(*operator_, [this, handler] { handler(*program_files_); });
        });
    };
    on_program_click("SaveProg", [](ProgramFiles& f) { f.SaveProgClick(); });
    on_program_click("loadbut", [](ProgramFiles& f) { f.loadbutClick(); });
    on_program_click("Savesplineprog", [](ProgramFiles& f) { f.SavesplineprogClick(); });
    on_program_click("Loadsplineprog", [](ProgramFiles& f) { f.LoadsplineprogClick(); });
    on_program_click("DrawSpline", [](ProgramFiles& f) { f.DrawSplineClick(); });
    // The plan flow shows its own errors; nothing escapes the button. It plans the profile in
    // the spline editor, about the editor's turn axis.
    connect(findChild<QPushButton*>(QStringLiteral("createplan")), &QPushButton::clicked, this,
            [this] {
                saw_plans_->createplanClick(editor_->spline_pnts().profile,
                                            editor_->spline_pnts().job.draaias);
            });
}

void TOstrivane::FormCreate() {
    ConfiguraRegiaoBR();
    tabs_->setCurrentIndex(0);
    // The whole path: on a fresh machine even the per-user data folder may be missing.
    std::string failure;
    try {
        IniFilePath_ = with_separator(data_folder());
        std::error_code ec;
        fs::create_directories(data_folder(), ec);
        if (ec)
            failure = "Cannot create the data folder " + IniFilePath_ + ": " + ec.message();
    } catch (const Error& e) {
        // No home folder: there is nowhere to keep the settings and the log.
        failure = e.what();
    }
    const std::string log_file = IniFilePath_.empty() ? "" : IniFilePath_ + "Ostrivane.log";
    if (!failure.empty()) {
        log_->not_opened(log_file, "the data folder could not be created");
        operator_->show_error(failure);
        return;
    }
    restore_settings();
    loadini();
    try {
        log_->open(log_file);
        log("Log file is located in: " + log_file, false);
        // Said once the log is open, so that the critical memo (and the file) keep it.
        if (const std::string notice = settings_restore_.notice(settings_file()); !notice.empty())
            log(notice, true);
    } catch (const Error& e) {
        operator_->show_error(e.what());
    }
}

void TOstrivane::restore_settings() {
    settings_restore_ = restore_state_file(settings_file(), main_window_components(), *form_);
    if (settings_restore_.failure)
        debug_diagnostic(*settings_restore_.failure);
}

void TOstrivane::loadini() {
    if (settings_restore_.bytes) {
        tnd_file_ = read_ini_key(*settings_restore_.bytes, tnd_section, tnd_key);
        machine_ini_ = read_ini_key(*settings_restore_.bytes, machine_section, machine_key);
    }
    show_machine_ini();
}

void TOstrivane::show_machine_ini() {
    if (auto* field = findChild<TFrame1*>(QStringLiteral("MachineIni")))
        field->Ed()->setText(QString::fromStdString(machine_ini_.value_or(std::string())));
}

void TOstrivane::browse_machine_ini() {
    const fs::path current = fs::u8path(machine_ini_.value_or(std::string()));
    const QString start = current.empty()
                              ? QString::fromStdU16String(documents_location().u16string())
                              : QString::fromStdU16String(current.parent_path().u16string());
    const QString name = QFileDialog::getOpenFileName(
        this, QStringLiteral("LinuxCNC configuration"), start,
        QStringLiteral("LinuxCNC configuration (*.ini);;All files (*)"));
    if (name.isEmpty())
        return;  // a cancel keeps the previous choice
    machine_ini_ = name.toStdString();
    show_machine_ini();
    saveini();
}

JobCheckOptions TOstrivane::check_options(std::optional<ProgramKind> kind) {
    JobCheckOptions options;
    options.kind = kind;
    const std::string ini = machine_ini_.value_or(std::string());
    if (ini.empty())
        return options;
    try {
        options.limits = machine_limits_of_file(fs::u8path(ini));
    } catch (const Error& e) {
        // The program is still checked; the log says with what.
        log(std::string(e.what()) + "; the check uses the default limits", true);
    }
    return options;
}

void TOstrivane::show_job_status(const QString& text) {
    // A verdict is a sentence or two: it wraps in the status bar instead of being cut off.
    auto* status = statusBar()->findChild<QLabel*>(QStringLiteral("JobStatus"));
    if (status == nullptr) {
        status = new QLabel(statusBar());
        status->setObjectName(QStringLiteral("JobStatus"));
        status->setWordWrap(true);
        status->setTextFormat(Qt::PlainText);
        status->setTextInteractionFlags(Qt::TextSelectableByMouse);
        statusBar()->addWidget(status, 1);
    }
    status->setText(text);
}

void TOstrivane::log(std::string_view aMessage, bool critical) {
    log_->log(aMessage, critical);
}

void TOstrivane::save_settings() {
    if (IniFilePath_.empty())
        throw Error("Cannot save the settings: the data folder is not known.");
    const std::string record = save_form_state(main_window_components(), *form_);
    write_file_atomically(settings_file(), settings_file_bytes(record, tnd_file_, machine_ini_));
}

void TOstrivane::write_motClick() {
    // The summary is counted while the lines are written, and only when it will be logged.
    const bool logged = log_->keeps_notices();
    ProgramStatsSink summary;
    const RunningJob running(jobs_running_);
    QtJobContext context(this, QStringLiteral("Writing the finger-joint program"), job_timing_);
    const auto file = ostrivane::write_motClick(*form_, *operator_, fast_record_,
                                                OutputDestination{documents_location()}, context,
                                                logged ? &summary : nullptr);
    // The check's verdict first: the summary stays the last line, as it always was.
    if (file) {
        show_job_status(qs(announce_job_check(
            *file, *form_, {}, fs::u8path(IniFilePath_), *operator_,
            [this](std::string_view text, bool critical) { log(text, critical); }, &context,
            check_options(ProgramKind::finger_joint))));
    }
    if (file && logged)
        log(summary.summary(), false);
}

void TOstrivane::write_tndClick() {
    const RunningJob running(jobs_running_);
    QtJobContext context(this, QStringLiteral("Writing the tooth file"), job_timing_);
    ostrivane::write_tndClick(*form_, *operator_, fast_record_,
                              OutputDestination{documents_location()}, context);
}

void TOstrivane::SaveSetClick() {
    // A failed save is reported rather than confirmed: the old settings file is still intact.
    save_settings();
    settings_restore_.may_overwrite = true;  // the operator chose to save over it
    operator_->information("Settings saved");
}

bool TOstrivane::opens(const fs::path& file) {
    return file_kind(file).has_value();
}

void TOstrivane::open_file(const fs::path& file) {
    const auto kind = file_kind(file);
    if (!kind)
        throw Error(file.string() + " is not a program, a profile or a tooth file.");
    switch (*kind) {
        case FileKind::Program: {
            // "Load program" with this file chosen in its dialog.
            ProgramFiles load(this, *form_, *form_, *operator_, IniFilePath_, *editor_,
                              [&file](ProgramFiles::Choice) { return file.string(); });
            load.LoadsplineprogClick();
            open_program_profile(file);
            break;
        }
        case FileKind::Profile:
            open_profile(file);
            break;
        case FileKind::ToothFile:
            // "Load .tnd file" with this file chosen; the name stays valid from any folder.
            tnd_file_ = fs::absolute(file).string();
            saveini();
            break;
    }
}

bool TOstrivane::adopt_profile(const fs::path& file, const std::string& name) {
    // The editor edits the profile of the current program in the data folder, so a profile
    // from elsewhere becomes the program of its name there, asked before replacing another.
    const fs::path own = spline_program_files(fs::u8path(IniFilePath_), name).spl;
    std::error_code ec;
    if (fs::equivalent(file, own, ec))
        return true;
    const std::string bytes = read_file_limited(file, kMaxSplineFileBytes, "a spline file");
    check_spline_version(file, bytes);
    const auto existing = read_file(own);
    if (existing && *existing != bytes &&
        !operator_->ask_yes_no(name + " already exists. Overwrite ?"))
        return false;
    write_file_atomically(own, bytes);
    return true;
}

void TOstrivane::open_profile(const fs::path& file) {
    if (IniFilePath_.empty())
        throw Error("Cannot open a profile: the data folder is not known.");
    const std::string name = file.stem().string();
    if (!adopt_profile(file, name))
        return;
    form_->set_text("Smot_name", name);
    tabs_->setCurrentIndex(1);  // "Dynamic turning", where the profile belongs
    // Opened by itself, the profile is what the operator wants to see: the view fits it.
    program_files_->DrawSplineClick(true);
}

void TOstrivane::open_program_profile(const fs::path& program) {
    // A program and its profile travel as a pair of the same name: the profile beside the
    // program is the one that belongs to it, and becomes the data folder's profile of the
    // restored program name. Without one there, the data folder's own (already loaded) serves.
    if (IniFilePath_.empty())
        return;
    const std::string name = form_->text("Smot_name");
    fs::path beside = program;
    beside.replace_extension(".spl");
    const fs::path own = program_spline_file(fs::u8path(IniFilePath_), name);
    std::error_code ec;
    if (fs::is_regular_file(beside, ec)) {
        if (adopt_profile(beside, name))
            program_files_->load_program_profile();
        return;
    }
    if (!fs::exists(own, ec)) {
        operator_->information("No profile belongs to " + program.filename().string() +
                               ": neither " + beside.string() + " nor " + own.string() +
                               " exists. The spline editor keeps the profile it holds.");
    }
}

void TOstrivane::loadtndClick() {
    const QString folder =
        QString::fromStdU16String(tooth_dialog_folder(tnd_file_, documents_location()).u16string());
    const QString name =
        QFileDialog::getOpenFileName(this, QString(), folder, QStringLiteral("tnd (*.tnd)"));
    if (!name.isEmpty())
        tnd_file_ = name.toStdString();
    // Written whether or not a file was chosen: a cancel keeps the previous choice.
    saveini();
}

void TOstrivane::browse_gcode_folder() {
    const fs::path start = gcode_dialog_folder(form_->text("GcodeFolder"), documents_location());
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QStringLiteral("G-code folder"), QString::fromStdU16String(start.u16string()));
    // The field keeps its final separator, as the program joins file names to it.
    if (!chosen.isEmpty())
        form_->set_text("GcodeFolder", with_separator(fs::path(chosen.toStdU16String())));
}

void TOstrivane::saveini() {
    if (IniFilePath_.empty())
        throw Error("Cannot save the settings: the data folder is not known.");
    std::string bytes =
        read_file_if_exists(settings_file(), max_state_file_size, "a window-state file")
            .value_or(std::string());
    // A file without the fields (none yet in a fresh data folder) gets them first, so that it
    // is whole settings from the start and restores at the next start even if this run never
    // reaches its close.
    if (!starts_with_state_record(bytes) && settings_restore_.may_overwrite)
        bytes = save_form_state(main_window_components(), *form_);
    std::string with_keys = write_ini_key(bytes, tnd_section, tnd_key, tnd_file_.value_or(""));
    if (machine_ini_)
        with_keys = write_ini_key(with_keys, machine_section, machine_key, *machine_ini_);
    write_file_atomically(settings_file(), with_keys);
}

void TOstrivane::FormSaveState() {
    // A settings file that could neither be restored nor copied is not saved over unasked.
    if (!settings_restore_.may_overwrite)
        return;
    try {
        save_settings();
    } catch (const Error& e) {
        debug_diagnostic(e.what());
    }
}

void TOstrivane::closeEvent(QCloseEvent* event) {
    // A job lets events through while it runs; a close among them waits for the job's end.
    if (jobs_running_ > 0) {
        event->ignore();
        return;
    }
    FormSaveState();
    log_->close();
    event->accept();
}

}  // namespace ostrivane::gui
