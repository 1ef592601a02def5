#pragma once
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/app/state_file.h"
#include "core/planner/plank_plan.h"
#include "core/plot/tgrita.h"

class QCheckBox;
class QCloseEvent;
class QEventLoop;
class QKeyEvent;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMouseEvent;
class QPrinter;
class QPushButton;
class QScrollArea;

namespace ostrivane {
class FadingMessageLabel;
class FieldSource;
class Operator;
class PlotGrid;
}  // namespace ostrivane

namespace ostrivane::gui {

class PageImage;
class QtOperator;
class TFrame1;
class WidgetForm;

// "Create cutting plans": the plank list of the editor's profile, and for the selected plank
// its full-scale template printed over as many pages as it needs, with a preview of each page.
// Created once and kept; each opening plans the profile of that moment. A window of its own
// (not a dialog box), shown modally over the main window.
class Tplanform : public QWidget {
    Q_OBJECT
  public:
    // planner.ini lives in `data_folder` (with its final separator); the plot surface logs
    // through `log`; message boxes go through `op` (real ones when null).
    Tplanform(std::string data_folder, PlotLog log, Operator* op = nullptr,
              QWidget* parent = nullptr);
    ~Tplanform() override;

    // What the next opening plans: the editor's profile and turn axis, the main window's
    // fields (for the G-code file name) and the printer chosen in the print dialog. None is
    // owned; each must outlive the window's use of it.
    void set_sources(TBetaSPLpoints* profile, double turning_axis_y, const FieldSource* main_fields,
                     QPrinter* printer);

    // Handlers.
    void FormActivate();
    void CalculateClick();
    void PageComboChange(int index);
    void PlotGrid1Paint();
    void PlotGrid1MouseMove(QMouseEvent* event);
    void FormSaveState();
    // "Export…": every plank's template at 1:1 as an SVG or DXF drawing (by the name chosen).
    void ExportClick();

    // How the export asks for its file, offered `suggested` (a name in the folder the last
    // export went to, else in Documents): the chosen name, or none when cancelled. Tests
    // replace the file dialog with it.
    using ExportChooser = std::function<std::optional<std::string>(const std::string& suggested)>;
    void set_export_chooser(ExportChooser chooser) { choose_export_ = std::move(chooser); }

    PlankPlan& plan() { return *plan_; }
    Tgrita& thegrita() { return *thegrita_; }
    PageImage& Image1() const { return *image_; }
    PlotGrid& PlotGrid1() const { return *plot_; }
    QListWidget* PlankList() const { return plank_list_; }
    QComboBox* PageCombo() const { return page_combo_; }
    TFrame1* beamthick() const { return beamthick_; }
    TFrame1* margin() const { return margin_; }
    QCheckBox* marks() const { return marks_; }
    QLabel* LabelX() const { return label_x_; }
    QLabel* LabelY() const { return label_y_; }
    FadingMessageLabel& errlabel() const { return *errlabel_; }
    std::filesystem::path state_file() const;

    // Shows the window modally and returns when it is closed ("Done", the window's close box
    // or Escape).
    void exec();

  protected:
    void showEvent(QShowEvent* event) override;
    // The close request saves planner.ini; it waits while a calculation runs.
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    void FormRestoreState();
    void createplans();
    void show_preview(int index);
    // The selected plank's template laid out on the printer's pages and shown, without
    // printing; nothing is shown without a plank or a printer.
    void preview_selected_plank();
    void preview_selected_plank(JobContext& job);
    // The page choice for the pages of the plan calculated last.
    void fill_page_choice();
    // No pages to choose from or look at.
    void clear_preview();
    // The list again for the current fields, keeping the selected entry when it still exists.
    void rebuild_list(JobContext& job);
    PlanInputs inputs() const;

    std::string data_folder_;
    std::unique_ptr<QtOperator> own_operator_;
    Operator* operator_;
    TBetaSPLpoints* profile_ = nullptr;
    double turning_axis_y_ = 100;
    const FieldSource* main_fields_ = nullptr;
    QPrinter* printer_ = nullptr;
    bool busy_ = false;  // a calculation or a new list is under way
    QEventLoop* modal_loop_ = nullptr;

    QScrollArea* scroll_ = nullptr;
    PlotGrid* plot_ = nullptr;
    PageImage* image_ = nullptr;
    FadingMessageLabel* errlabel_ = nullptr;
    QLabel* label_x_ = nullptr;
    QLabel* label_y_ = nullptr;
    QPushButton* done_ = nullptr;
    QGroupBox* settings_ = nullptr;
    TFrame1* beamthick_ = nullptr;
    TFrame1* margin_ = nullptr;
    QPushButton* calculate_ = nullptr;
    QCheckBox* marks_ = nullptr;
    QPushButton* export_ = nullptr;
    QListWidget* plank_list_ = nullptr;
    QLabel* page_caption_ = nullptr;
    QComboBox* page_combo_ = nullptr;

    std::unique_ptr<Tgrita> thegrita_;
    std::unique_ptr<PlankPlan> plan_;
    std::unique_ptr<WidgetForm> form_;
    StateRestore restore_;
    ExportChooser choose_export_;  // how planner.ini was restored at creation
};

}  // namespace ostrivane::gui
