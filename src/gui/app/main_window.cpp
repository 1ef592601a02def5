#include "gui/app/main_window.h"

#include <QCloseEvent>
#include <QDebug>
#include <QGuiApplication>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSessionManager>
#include <QStandardPaths>
#include <QTabWidget>
#include <clocale>

#include "core/app/form_state.h"
#include "core/app/known_folders.h"
#include "core/app/main_window_fields.h"
#include "core/app/state_file.h"
#include "core/fingerjoint/finger_joint_program.h"
#include "core/fingerjoint/tooth_file.h"
#include "core/gcode/program_stats.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/job_context.h"
#include "gui/app/main_window_layout.h"
#include "gui/app/qt_operator.h"

namespace ostrivane::gui {
namespace fs = std::filesystem;
namespace {

// Numbers in fields, files and G-code always use "." whatever the desktop's locale; the core
// converts without the locale, and this keeps any C library conversion in line with it.
void ConfiguraRegiaoBR() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

// The desktop's Documents folder, where programs and tooth files go when no other folder is
// set; empty when the platform knows none (the jobs then refuse to guess).
fs::path documents_location() {
    return fs::path(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdU16String());
}

void debug_diagnostic(const std::string& message) {
    qDebug().noquote() << QString::fromStdString(state_diagnostic(main_window_class, message));
}

}  // namespace

TOstrivane::TOstrivane(Operator* op, QWidget* parent) : QMainWindow(parent) {
    if (op == nullptr)
        own_operator_ = std::make_unique<QtOperator>(this);
    operator_ = op != nullptr ? op : own_operator_.get();
    setObjectName(QStringLiteral("Ostrivane"));
    setWindowTitle(QStringLiteral("O s t r i v a n e"));
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
}

void TOstrivane::FormCreate() {
    ConfiguraRegiaoBR();
    tabs_->setCurrentIndex(0);
    try {
        IniFilePath_ = with_separator(data_folder());
        // The whole path: on a fresh machine even the per-user data folder may be missing.
        fs::create_directories(data_folder());
    } catch (const fs::filesystem_error& e) {
        operator_->information(e.what());
        return;
    } catch (const Error& e) {
        // No home folder: there is nowhere to keep the settings and the log.
        operator_->information(e.what());
        return;
    }
    restore_settings();
    loadini();
    try {
        log_->open(IniFilePath_ + "Ostrivane.log");
        log("Log file is located in: " + IniFilePath_ + "Ostrivane.log", false);
    } catch (const Error& e) {
        operator_->information(e.what());
    }
}

void TOstrivane::restore_settings() {
    if (!fs::exists(settings_file()))
        return;
    const auto bytes = read_file(settings_file());
    if (!bytes) {
        debug_diagnostic("Cannot open file " + settings_file().string());
        return;
    }
    if (const auto error = restore_form_state(*bytes, main_window_components(), *form_)) {
        debug_diagnostic(*error);
    }
}

void TOstrivane::loadini() {
    if (const auto bytes = read_file(settings_file())) {
        tnd_file_ = read_ini_key(*bytes, tnd_section, tnd_key);
    }
}

void TOstrivane::log(std::string_view aMessage, bool critical) {
    log_->log(aMessage, critical);
}

void TOstrivane::save_settings() {
    if (IniFilePath_.empty())
        throw Error("Cannot save the settings: the data folder is not known.");
    const std::string record = save_form_state(main_window_components(), *form_);
    write_file_atomically(settings_file(), settings_file_bytes(record, tnd_file_));
}

void TOstrivane::write_motClick() {
    // The summary is counted while the lines are written, and only when it will be logged.
    const bool logged = form_->checked("Write_log_screen") || form_->checked("write_log");
    ProgramStatsSink summary;
    JobContext context;
    const auto file = ostrivane::write_motClick(*form_, *operator_, fast_record_,
                                                OutputDestination{documents_location()}, context,
                                                logged ? &summary : nullptr);
    if (file && logged)
        log(summary.summary(), false);
}

void TOstrivane::write_tndClick() {
    JobContext context;
    ostrivane::write_tndClick(*form_, *operator_, fast_record_,
                              OutputDestination{documents_location()}, context);
}

void TOstrivane::SaveSetClick() {
    // A failed save is reported rather than confirmed: the old settings file is still intact.
    save_settings();
    operator_->information("Settings saved");
}

void TOstrivane::FormSaveState() {
    try {
        save_settings();
    } catch (const Error& e) {
        debug_diagnostic(e.what());
    }
}

void TOstrivane::closeEvent(QCloseEvent* event) {
    FormSaveState();
    log_->close();
    event->accept();
}

}  // namespace ostrivane::gui
