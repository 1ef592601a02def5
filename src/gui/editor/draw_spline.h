#pragma once
#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QString>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/app/field_source.h"
#include "core/app/operator.h"
#include "core/check/job_check.h"
#include "core/editor/editor_host.h"
#include "core/editor/spline_editor.h"
#include "core/plot/tgrita.h"
#include "render/image_canvas.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;
class QFrame;
class QMouseEvent;
class QWheelEvent;
class QTimer;

namespace ostrivane {
class FadingMessageLabel;
class PlotGrid;
}  // namespace ostrivane

namespace ostrivane::gui {

class TFrame1;
class WidgetForm;
class QtSplineDialogs;
class EditorJobContext;
class ShadingImage;
class SolidWindow;

// What the editor needs of the main window. The window fills it once; the editor reads the
// fields at the moment it needs them.
struct EditorLink {
    FieldSource* fields = nullptr;  // the main window's fields; not owned
    // Modal messages and questions; null: message boxes over the editor. Not owned.
    Operator* op = nullptr;
    std::string data_folder;                // with its final separator
    std::function<std::string()> tnd_file;  // the chosen tooth file, empty for none
    // What the check after F7 needs beside the fields (the machine's limits); null: defaults.
    std::function<JobCheckOptions()> check_options;
    PlotLog log;  // the main window's log
    // The spline program save of the main window (it asks before replacing files); true when
    // the files were written.
    std::function<bool()> save_program;
};

// "Draw spline": the modal window in which the turning profile is drawn and edited. It owns
// the plot surface, the profile with its second spline, the simulation bitmap and the editor
// state; keys and mouse go to the GUI-free SplineEditor.
class TSplineform : public QDialog, private EditorHost {
    Q_OBJECT
  public:
    explicit TSplineform(EditorLink link, QWidget* parent = nullptr);
    ~TSplineform() override;

    SplineEditor& editor() { return *editor_; }
    SplineEditor::Engine& spline_pnts() { return *spline_pnts_; }
    Tgrita& thegrita() { return *thegrita_; }
    QImage& bitmap() { return sp_bitmap_; }
    QtSplineDialogs& dialogs() { return *dialogs_; }
    PlotGrid* plot() const { return PlotGrid1; }
    Operator& operator_interface() { return *operator_; }

    // Reads the job settings, resets the view and reloads the spline file of the current
    // program name. Throws Error for a main-window field that is no number.
    void load_data();
    // The spline file's bytes of both splines and the moves.
    std::string spline_file() const { return editor_->spline_file(); }
    // After the main window saved or loaded the spline program.
    void program_saved() { editor_->mark_saved(); }
    void program_loaded();
    // Shows the profile, not the full view: for a profile opened by itself.
    void fit_view_to_profile() { editor_->fit_profile(); }
    // Clears the simulation bitmap, as every opening from the main window does.
    void clear_picture() { clear_bitmap(); }

    // The spline file of the current program in the data folder.
    std::filesystem::path spline_file_path() const;

    // Runs a command with its errors shown to the operator.
    void run(const std::function<void()>& action);

    // "3D view" (F12): the designed piece and, once F7 has written a program, the piece as
    // that program cuts it.
    void open_solid_view();
    SolidWindow* solid_window() const;

  public Q_SLOTS:
    void Button1Click();
    void Button2Click();  // Cancel
    void SaveButClick();
    void Button3Click();  // Show commands
    void Button5Click();  // Close command box
    void ImportClick();
    void abutClick();
    void zoombutClick();
    void movbutClick();
    void sbutClick();
    void cutbutClick();
    void load_data_timerTimer();
    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    // EditorHost
    void repaint() override;
    void clear_bitmap() override;
    void show_commands() override;
    void set_coordinate_labels(std::string_view x, std::string_view y) override;
    void set_cut_enabled(bool enabled) override;
    double turn_axis_field() override;
    void shade() override;
    void calculate_for_milling() override;

    void build_layout();
    void connect_controls();
    void PlotGrid1Resize();
    void PlotGrid1Paint();
    void axisposEdChange();
    void beamthickEdChange();
    void FormCloseQuery();
    void save_state();
    // The pointer in plot pixels while it is over the plot.
    std::optional<PointF> pointer() const;
    bool handle_key(QKeyEvent* key);
    // True when there are no unsaved edits, or the operator agreed to lose them; then they are
    // undone, so that the next opening does not show them again.
    bool discard_changes();
    // The tool buttons show the tool the editor has on now.
    void sync_tool_buttons();
    // Mouse events of the plot beyond the left button: the middle button drags the view.
    void plot_mouse_down(QMouseEvent* e);
    void plot_mouse_move(QMouseEvent* e);
    void plot_mouse_up(QMouseEvent* e);
    void plot_wheel(QWheelEvent* e);

    // The two visualisation fields and the last text of each that the editor could use.
    struct VisualField {
        TFrame1* field = nullptr;
        void (SplineEditor::*apply)(double) = nullptr;
        QString last_good;
    };
    // A number in the working range, or nothing.
    static std::optional<double> usable_value(const TFrame1& field);
    // The field's number; throws Error when it is none or lies outside the working range.
    static double checked_value(const TFrame1& field);
    // Values restored from drawspline.ini that the editor cannot use fall back to the default,
    // with a notice.
    void check_restored_fields();
    // Before drawspline.ini is written: a field the editor cannot use gets its last good text
    // back, so the file never holds what would stop the next opening.
    void keep_usable_fields();
    // A shading or turning job is running: it reads the splines while it lets events through,
    // so commands that would change them under it wait for it to end.
    bool busy() const { return running_job_ != nullptr; }
    // Runs long work with the progress bar and the event pump; a close asked for meanwhile
    // stops the work and happens when it has stopped.
    void run_long_job(const std::function<void(EditorJobContext&)>& job);
    // Asks a running shading or turning job to stop after its current step.
    void stop_running_job();
    void finish_deferred_close();

    EditorLink link_;
    std::unique_ptr<Operator> own_operator_;
    Operator* operator_ = nullptr;

    // Controls.
    PlotGrid* PlotGrid1 = nullptr;
    ShadingImage* sp_Image = nullptr;
    FadingMessageLabel* errlabel = nullptr;
    QLabel* LabelX = nullptr;
    QLabel* LabelY = nullptr;
    QToolButton* abut = nullptr;
    QToolButton* cutbut = nullptr;
    QToolButton* zoombut = nullptr;
    QToolButton* movbut = nullptr;
    QToolButton* sbut = nullptr;
    TFrame1* axispos = nullptr;
    TFrame1* beamthick = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QFrame* CalloutPanel1 = nullptr;
    QTimer* load_data_timer = nullptr;

    QImage sp_bitmap_;
    std::unique_ptr<ImageCanvas> bitmap_canvas_;
    std::unique_ptr<Tgrita> thegrita_;
    // The drawing the engine turns; declared first so that it outlives the engine.
    std::unique_ptr<Profile> profile_;
    std::unique_ptr<SplineEditor::Engine> spline_pnts_;
    std::unique_ptr<SplineEditor> editor_;
    std::unique_ptr<QtSplineDialogs> dialogs_;
    std::unique_ptr<WidgetForm> form_;
    EditorJobContext* running_job_ = nullptr;
    bool close_after_job_ = false;
    int pending_result_ = 0;
    std::array<VisualField, 2> visual_;
    std::optional<std::filesystem::path> last_program_;  // the one F7 wrote last
    QPointer<SolidWindow> solid_window_;
};

}  // namespace ostrivane::gui
