#include "gui/editor/draw_spline.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDebug>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>
#include <filesystem>

#include "core/app/form_state.h"
#include "core/app/known_folders.h"
#include "core/app/program_paths.h"
#include "core/app/state_file.h"
#include "core/check/job_check.h"
#include "core/curve/spline_file.h"
#include "core/editor/editor_components.h"
#include "core/editor/working_range.h"
#include "core/scene/turning_drawer.h"
#include "core/scene/workpiece_shading.h"
#include "core/solid/job_pieces.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/number_parse.h"
#include "core/toolpath/saw_outline.h"
#include "core/toolpath/spline_rec.h"
#include "core/toolpath/turning_job.h"
#include "gui/editor/draw_spline_parts.h"
#include "gui/editor/editor_job_context.h"
#include "gui/editor/spline_dialogs_qt.h"
#include "gui/plot/message_label_widget.h"
#include "gui/plot/plot_grid.h"
#include "gui/solid/solid_window.h"
#include "gui/widgets/frame_field.h"
#include "gui/widgets/qt_job_context.h"
#include "gui/widgets/qt_operator.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/widget_form.h"

namespace ostrivane::gui {
namespace fs = std::filesystem;
namespace {

// A point list longer than this is no profile anyone drew; reading it would only hold the window.
constexpr std::uint64_t kMaxPointListBytes = 16u << 20;

// Virtual key codes of the keys the editor knows; 0 for any other.
std::uint16_t virtual_key(const QKeyEvent& e) {
    const int k = e.key();
    if (k == Qt::Key_Tab || k == Qt::Key_Backtab)
        return editor_key::Tab;
    if (k == Qt::Key_Escape)
        return editor_key::Escape;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F11)
        return static_cast<std::uint16_t>(editor_key::F1 + (k - Qt::Key_F1));
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return static_cast<std::uint16_t>(editor_key::A + (k - Qt::Key_A));
    return 0;
}

}  // namespace

TSplineform::TSplineform(EditorLink link, QWidget* parent)
    : QDialog(parent), link_(std::move(link)) {
    if (link_.op == nullptr)
        own_operator_ = std::make_unique<QtOperator>(this);
    operator_ = link_.op != nullptr ? link_.op : own_operator_.get();
    build_layout();
    // Lay the window out now, so that the plot surface made below, and the view set up before
    // the window is first shown, have the plot's real proportions. A hidden area gets its
    // resize event only when first shown, so the plot is placed in it here.
    layout()->activate();
    qobject_cast<PlotArea*>(PlotGrid1->parentWidget())->on_resize();
    // FormCreate: the bitmap, the plot surface (aspect-ratio guard on), the profile engine.
    sp_bitmap_ = QImage(QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
    sp_bitmap_.fill(Qt::transparent);
    bitmap_canvas_ = std::make_unique<ImageCanvas>(sp_bitmap_);
    thegrita_ = std::make_unique<Tgrita>(PlotGrid1->canvas(), errlabel, true, link_.log);
    profile_ = std::make_unique<Profile>(*thegrita_);
    // Most data folders have no saw outline: the engine's word about that is a notice, not a
    // fault, so it stays out of the critical log. A damaged outline stays a fault.
    std::error_code ec;
    const bool no_outline =
        !fs::exists(fs::u8path(link_.data_folder) / std::string(kSawOutlineFile), ec);
    MainLog setup_log = link_.log;
    if (no_outline && link_.log)
        setup_log = [log = link_.log](std::string_view text, bool) { log(text, false); };
    spline_pnts_ = std::make_unique<SplineEditor::Engine>(*profile_, *thegrita_,
                                                          fs::u8path(link_.data_folder), setup_log);
    spline_pnts_->set_log(link_.log);
    editor_ = std::make_unique<SplineEditor>(*spline_pnts_, *thegrita_, *bitmap_canvas_,
                                             static_cast<EditorHost&>(*this));
    dialogs_ = std::make_unique<QtSplineDialogs>(this);
    dialogs_->set_operator(link_.op);
    editor_->set_dialogs(dialogs_.get());
    visual_ = {VisualField{axispos, &SplineEditor::set_turn_axis, axispos->text()},
               VisualField{beamthick, &SplineEditor::set_beam_thickness, beamthick->text()}};
    form_ = std::make_unique<WidgetForm>(this, editor_components());
    connect_controls();
    PlotGrid1Resize();
    qApp->installEventFilter(this);
    load_data_timer->start();
}

TSplineform::~TSplineform() {
    qApp->removeEventFilter(this);
}

void TSplineform::connect_controls() {
    const auto on_click = [this](const char* name, void (TSplineform::*handler)()) {
        auto* b = findChild<QAbstractButton*>(QString::fromLatin1(name));
        connect(b, &QAbstractButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    on_click("Button1", &TSplineform::Button1Click);
    on_click("Button2", &TSplineform::Button2Click);
    on_click("SaveBut", &TSplineform::SaveButClick);
    on_click("Button3", &TSplineform::Button3Click);
    on_click("Button5", &TSplineform::Button5Click);
    on_click("Import", &TSplineform::ImportClick);
    on_click("SolidBut", &TSplineform::open_solid_view);
    on_click("abut", &TSplineform::abutClick);
    on_click("cutbut", &TSplineform::cutbutClick);
    on_click("zoombut", &TSplineform::zoombutClick);
    on_click("movbut", &TSplineform::movbutClick);
    on_click("sbut", &TSplineform::sbutClick);
    connect(load_data_timer, &QTimer::timeout, this, &TSplineform::load_data_timerTimer);
    connect(PlotGrid1, &PlotGrid::plotPaint, this, [this] { PlotGrid1Paint(); });
    connect(PlotGrid1, &PlotGrid::plotMouseDown, this, &TSplineform::plot_mouse_down);
    connect(PlotGrid1, &PlotGrid::plotMouseMove, this, &TSplineform::plot_mouse_move);
    connect(PlotGrid1, &PlotGrid::plotMouseUp, this, &TSplineform::plot_mouse_up);
    connect(PlotGrid1, &PlotGrid::plotWheel, this, &TSplineform::plot_wheel);
    // The drawing follows the two visualisation fields as the operator types. Text that is not
    // (yet) a usable number, such as an emptied field, waits for Enter or leaving the field,
    // which then names the problem: a message box for every half-typed number would be in the
    // way.
    for (VisualField& v : visual_) {
        connect(v.field->Ed(), &QLineEdit::textChanged, this, [this, &v] {
            if (busy())
                return;
            if (const auto value = usable_value(*v.field)) {
                v.last_good = v.field->text();
                (editor_.get()->*v.apply)(*value);
            }
        });
    }
    connect(axispos->Ed(), &QLineEdit::editingFinished, this,
            [this] { run([this] { axisposEdChange(); }); });
    connect(beamthick->Ed(), &QLineEdit::editingFinished, this,
            [this] { run([this] { beamthickEdChange(); }); });
}

void TSplineform::plot_mouse_down(QMouseEvent* e) {
    if (busy())
        return;
    const QPointF p = e->position();
    const auto x = static_cast<float>(p.x());
    const auto y = static_cast<float>(p.y());
    if (e->button() == Qt::MiddleButton) {
        editor_->pan_start(x, y);
        return;
    }
    run([&] { editor_->PlotGrid1MouseDown(e->button() == Qt::LeftButton, x, y); });
    sync_tool_buttons();
}

void TSplineform::plot_mouse_move(QMouseEvent* e) {
    if (busy())
        return;
    const QPointF p = e->position();
    const auto x = static_cast<float>(p.x());
    const auto y = static_cast<float>(p.y());
    if (editor_->panning()) {
        // The drawing moves with the mouse; the position under it stays what it was.
        editor_->pan_to(x, y);
        return;
    }
    run([&] { editor_->PlotGrid1MouseMove(x, y); });
}

void TSplineform::plot_mouse_up(QMouseEvent* e) {
    if (e->button() == Qt::MiddleButton)
        editor_->pan_end();
}

void TSplineform::plot_wheel(QWheelEvent* e) {
    if (busy())
        return;
    const int eighths = e->angleDelta().y();
    if (eighths == 0)
        return;
    e->accept();
    // One notch (15 degrees) away from the operator shows 80 % of the width, towards 125 %.
    const double factor = std::pow(0.8, eighths / 120.0);
    const QPointF p = e->position();
    editor_->wheel_zoom(static_cast<float>(p.x()), static_cast<float>(p.y()), factor);
}

void TSplineform::run(const std::function<void()>& action) {
    run_action(*operator_, action);
}

// --- loading -----------------------------------------------------------------------------

fs::path TSplineform::spline_file_path() const {
    return program_spline_file(fs::u8path(link_.data_folder), link_.fields->text("Smot_name"));
}

void TSplineform::load_data() {
    const TsplineRec rec = read_job_settings(*link_.fields);
    const std::string tnd = link_.tnd_file ? link_.tnd_file() : std::string();
    announce_second_spline(rec, tnd, *operator_, link_.log);
    const double axis = checked_value(*axispos);
    const double beam = checked_value(*beamthick);
    editor_->init_view(axis);
    spline_pnts_->set_data(turning_parameters(rec, axis, beam, tnd));
    spline_pnts_->profile.inc_interval(0, editor_->bounds_of_view.min_x,
                                       editor_->bounds_of_view.max_x);
    const fs::path file = spline_file_path();
    std::error_code ec;
    if (fs::exists(file, ec))
        editor_->load_spline_file(read_file_limited(file, kMaxSplineFileBytes, "a spline file"));
    editor_->reset_history();
    cutbut->setEnabled(false);
    repaint();
}

void TSplineform::program_loaded() {
    editor_->reset_history();
    repaint();
}

void TSplineform::load_data_timerTimer() {
    load_data_timer->stop();
    bool loaded = false;
    run([this, &loaded] {
        load_data();
        loaded = true;
    });
    // After a bad field of the main window the saved visualisation fields wait for a good load.
    if (!loaded)
        return;
    const fs::path state = fs::u8path(link_.data_folder) / editor_state_file;
    const StateRestore restore = restore_state_file(state, editor_components(), *form_);
    if (restore.failure)
        qDebug().noquote() << qs(state_diagnostic(editor_class, *restore.failure));
    check_restored_fields();
}

std::optional<double> TSplineform::usable_value(const TFrame1& field) {
    const auto value = parse_float(ss(field.text()));
    if (!value || !within_working_range(*value))
        return std::nullopt;
    return value;
}

double TSplineform::checked_value(const TFrame1& field) {
    const double value = field.validate_float();
    if (const auto problem = working_range_problem(value, ss(field.Label1()->text())))
        throw Error(*problem);
    return value;
}

void TSplineform::check_restored_fields() {
    for (VisualField& v : visual_) {
        if (usable_value(*v.field))
            continue;
        const QString name = v.field->objectName();
        std::string fallback;
        for (const ComponentSpec& c : editor_components()) {
            if (qs(c.name) == name)
                fallback = std::string(c.default_text);
        }
        const std::string bad = ss(v.field->text());
        v.field->Ed()->setText(qs(fallback));
        thegrita_->GraphMessage("The stored " + ss(v.field->Label1()->text()) + " \"" + bad +
                                    "\" cannot be used; the default " + fallback + " is taken",
                                MessageSink::kRed, false);
    }
}

void TSplineform::keep_usable_fields() {
    for (VisualField& v : visual_) {
        if (!usable_value(*v.field))
            v.field->Ed()->setText(v.last_good);
    }
}

// --- buttons -----------------------------------------------------------------------------

void TSplineform::Button1Click() {
    // A save that failed has told the operator why; the window stays open so nothing is lost.
    bool failed = true;
    bool saved = false;
    run([this, &failed, &saved] {
        saved = link_.save_program && link_.save_program();
        if (saved)
            editor_->mark_saved();
        failed = false;
    });
    if (failed)
        return;
    // Declining to replace the files is no reason to lose the edits without a word.
    if (!saved && !discard_changes())
        return;
    accept();
}

void TSplineform::Button2Click() {
    if (!discard_changes())
        return;
    reject();
}

void TSplineform::SaveButClick() {
    run([this] {
        if (link_.save_program && link_.save_program())
            editor_->mark_saved();
    });
}

void TSplineform::Button3Click() {
    show_commands();
}

void TSplineform::Button5Click() {
    CalloutPanel1->hide();
}

void TSplineform::ImportClick() {
    if (busy())
        return;
    run([this] {
        operator_->information(
            "This will import a textfile with X;Y coordinates seperated by \";\"");
        const QString name = QFileDialog::getOpenFileName(this);
        if (name.isEmpty())
            return;
        const fs::path file(name.toStdU16String());
        editor_->import_points(file, read_file_limited(file, kMaxPointListBytes, "a point list"));
    });
}

void TSplineform::abutClick() {
    editor_->choose_tool(SplineEditor::Tool::Add);
    sync_tool_buttons();
}
void TSplineform::zoombutClick() {
    editor_->choose_tool(SplineEditor::Tool::Zoom);
    sync_tool_buttons();
}
void TSplineform::movbutClick() {
    editor_->choose_tool(SplineEditor::Tool::Move);
    sync_tool_buttons();
}
void TSplineform::sbutClick() {
    editor_->choose_tool(SplineEditor::Tool::Select);
    sync_tool_buttons();
}

void TSplineform::sync_tool_buttons() {
    const SplineEditor& e = *editor_;
    abut->setChecked(e.add_point_but);
    zoombut->setChecked(e.zm_but);
    movbut->setChecked(e.mov_but);
    sbut->setChecked(e.select_but);
}
void TSplineform::cutbutClick() {
    if (busy())
        return;
    editor_->cutbutClick();
}

// --- plot --------------------------------------------------------------------------------

void TSplineform::PlotGrid1Resize() {
    if (!editor_)
        return;
    const QSize size = sp_Image->size().expandedTo(QSize(1, 1));
    bitmap_canvas_->abandon_scene();
    if (sp_bitmap_.size() != size)
        sp_bitmap_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    sp_bitmap_.fill(Qt::transparent);
    editor_->resized();
    repaint();
}

void TSplineform::PlotGrid1Paint() {
    editor_->paint();
}

void TSplineform::axisposEdChange() {
    editor_->set_turn_axis(checked_value(*axispos));
}

void TSplineform::beamthickEdChange() {
    editor_->set_beam_thickness(checked_value(*beamthick));
}

std::optional<PointF> TSplineform::pointer() const {
    const QPoint p = PlotGrid1->mapFromGlobal(QCursor::pos());
    if (!PlotGrid1->isVisible() || !PlotGrid1->rect().contains(p))
        return std::nullopt;
    return PointF{static_cast<float>(p.x()), static_cast<float>(p.y())};
}

// --- EditorHost --------------------------------------------------------------------------

void TSplineform::repaint() {
    PlotGrid1->Repaint();
    sp_Image->update();
}

void TSplineform::clear_bitmap() {
    bitmap_canvas_->abandon_scene();
    sp_bitmap_.fill(Qt::transparent);
    sp_Image->update();
}

void TSplineform::show_commands() {
    CalloutPanel1->show();
    CalloutPanel1->raise();
}

void TSplineform::set_coordinate_labels(std::string_view x, std::string_view y) {
    LabelX->setText(qs(x));
    LabelY->setText(qs(y));
}

void TSplineform::set_cut_enabled(bool enabled) {
    cutbut->setEnabled(enabled);
}

double TSplineform::turn_axis_field() {
    return checked_value(*axispos);
}

void TSplineform::run_long_job(const std::function<void(EditorJobContext&)>& job) {
    if (running_job_ != nullptr)
        return;  // one long job at a time; keys pressed meanwhile do not start another
    {
        EditorJobContext context(ProgressBar1, [this] { sp_Image->update(); });
        running_job_ = &context;
        try {
            job(context);
        } catch (...) {
            running_job_ = nullptr;
            finish_deferred_close();
            throw;
        }
        running_job_ = nullptr;
    }
    sp_Image->update();
    finish_deferred_close();
}

void TSplineform::finish_deferred_close() {
    if (!close_after_job_)
        return;
    close_after_job_ = false;
    done(pending_result_);
}

void TSplineform::shade() {
    run_long_job([this](EditorJobContext& context) {
        shade_workpiece(*thegrita_, bitmap_canvas_.get(), *spline_pnts_,
                        fs::u8path(link_.data_folder), &context);
    });
}

void TSplineform::calculate_for_milling() {
    run_long_job([this](EditorJobContext& context) {
        // The Documents folder as the finger-joint tab and the command-line tool find it.
        const OutputDestination destination{documents_folder()};
        TurningDrawer drawer(*thegrita_, bitmap_canvas_.get(), *spline_pnts_);
        const TurningResult result =
            write_turning_job(*spline_pnts_, *link_.fields, *operator_, editor_->moves, destination,
                              context, &drawer);
        if (result.file)
            last_program_ = fs::u8path(*result.file);
        if (result.file && !result.failed) {
            // The run time and what the program cuts, told without being asked for.
            const TurningSource source{editor_->spline_file(), spline_pnts_->job.draaias,
                                       spline_pnts_->job.thickness, spline_pnts_->job.TNDFile};
            JobCheckOptions options =
                link_.check_options ? link_.check_options() : JobCheckOptions{};
            options.kind = ProgramKind::turning;  // the editor wrote it
            // The log hears whether the verdict is a warning; the label shows it so.
            bool warning = false;
            const MainLog log = [this, &warning](std::string_view text, bool critical) {
                warning = critical;
                if (link_.log)
                    link_.log(text, critical);
            };
            const std::string verdict = announce_job_check(*result.file, *link_.fields, source,
                                                           fs::u8path(link_.data_folder),
                                                           *operator_, log, &context, options);
            errlabel->show_verdict(verdict, !warning);
            errlabel->start_fade();
        }
    });
}

void TSplineform::open_solid_view() {
    run([this] {
        TGrad& engine = *spline_pnts_;
        if (engine.profile.Nopoints < 2)
            throw Error("The spline does not contain any points");
        const double axis = engine.job.draaias;
        const double beam = engine.job.thickness;
        const std::string tooth = engine.job.TNDFile;
        const bool use_tooth =
            !tooth.empty() && (link_.fields->checked("UseTND") || link_.fields->checked("doublet"));
        std::vector<ShownPiece> pieces;
        pieces.push_back(
            {QStringLiteral("Designed"),
             designed_shape(engine.profile, axis, turning_check_slots(engine, use_tooth, tooth))});
        if (last_program_ && fs::exists(*last_program_)) {
            const QString name = QString::fromStdU16String(last_program_->filename().u16string());
            QtJobContext context(this, QStringLiteral("Checking ") + name);
            const TurningSource source{editor_->spline_file(), axis, beam, tooth};
            const JobCheck check =
                check_job_program(*last_program_, *link_.fields, source,
                                  fs::u8path(link_.data_folder), *operator_, &context);
            if (check.report.kind == ProgramKind::turning && !check.report.envelope.empty())
                pieces.push_back(
                    {QStringLiteral("As cut by ") + name, cut_shape(check.report, axis, beam)});
        }
        if (solid_window_ != nullptr)
            solid_window_->close();
        solid_window_ = new SolidWindow(std::move(pieces), this);
        solid_window_->setAttribute(Qt::WA_DeleteOnClose);
        solid_window_->show();
        solid_window_->raise();
        solid_window_->activateWindow();
    });
}

SolidWindow* TSplineform::solid_window() const {
    return solid_window_;
}

// --- keys and closing --------------------------------------------------------------------

bool TSplineform::handle_key(QKeyEvent* e) {
    if (e->key() == Qt::Key_F12 && e->modifiers() == Qt::NoModifier && !busy()) {
        open_solid_view();
        return true;
    }
    const std::uint16_t key = virtual_key(*e);
    if (key == 0)
        return false;
    if (busy()) {
        // ESC stops a shading or a calculation after its current column or saw; other keys
        // wait for it.
        if (key == editor_key::Escape)
            stop_running_job();
        return true;
    }
    const Qt::KeyboardModifiers m = e->modifiers();
    ShiftState shift;
    shift.shift = m.testFlag(Qt::ShiftModifier) || e->key() == Qt::Key_Backtab;
    shift.alt = m.testFlag(Qt::AltModifier);
    shift.ctrl = m.testFlag(Qt::ControlModifier);
    const bool letter = key >= editor_key::A && key <= editor_key::Z;
    if (letter && !shift.alt) {
        const bool history =
            shift.ctrl && (key == editor_key::letter('Z') || key == editor_key::letter('Y'));
        // Typing, and an edit field's own undo, stay with the field.
        if (!history || qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr)
            return false;
    }
    run([&] { editor_->FormKeyDown(key, shift, pointer()); });
    sync_tool_buttons();
    return true;
}

bool TSplineform::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this && isVisible())
            return handle_key(static_cast<QKeyEvent*>(event));
    }
    return QDialog::eventFilter(watched, event);
}

bool TSplineform::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        // FormActivate. A bitmap that still fits keeps its picture: closing the message that
        // names the written program must not wipe the simulation of that program.
        if (sp_bitmap_.size() != sp_Image->size().expandedTo(QSize(1, 1))) {
            PlotGrid1Resize();
        } else {
            editor_->resized();
            repaint();
        }
    }
    return QDialog::event(event);
}

bool TSplineform::discard_changes() {
    if (!editor_->modified())
        return true;
    if (!operator_->ask_yes_no("Discard the changes to the splines?"))
        return false;
    editor_->revert();
    return true;
}

void TSplineform::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!discard_changes())
        return;
    reject();
}

void TSplineform::done(int result) {
    if (running_job_ != nullptr) {
        // A shading or turning job is on the stack below this close: ask it to stop and close
        // as soon as it has.
        stop_running_job();
        close_after_job_ = true;
        pending_result_ = result;
        return;
    }
    FormCloseQuery();
    QDialog::done(result);
}

void TSplineform::stop_running_job() {
    if (running_job_ == nullptr)
        return;
    running_job_->request_stop();
    spline_pnts_->closing = true;
}

void TSplineform::FormCloseQuery() {
    keep_usable_fields();
    save_state();
}

void TSplineform::save_state() {
    if (link_.data_folder.empty())
        return;
    const fs::path state = fs::u8path(link_.data_folder) / editor_state_file;
    try {
        write_file_atomically(state, save_form_state(editor_components(), *form_));
    } catch (const std::exception& e) {
        qDebug().noquote() << qs(state_diagnostic(editor_class, e.what()));
    }
}

}  // namespace ostrivane::gui
