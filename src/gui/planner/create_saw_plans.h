#pragma once
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace ostrivane {
class TBetaSPLpoints;
}

namespace ostrivane::gui {

class SawPlanHost;
class Tplanform;

// How the print dialog is run: true when the operator accepted it. Tests replace it.
using PrintDialogRunner = std::function<bool(QPrinter& printer, QWidget* parent)>;

// The main window's "Create saw plans" and everything it keeps between uses: the plan window
// and the printer, made on first use, so the window's fields and the printer's settings carry
// over from one use to the next. Owned by its host, which must outlive it.
class SawPlans {
  public:
    explicit SawPlans(SawPlanHost& host);
    ~SawPlans();
    SawPlans(const SawPlans&) = delete;
    SawPlans& operator=(const SawPlans&) = delete;

    // createplanClick: the print dialog over the host; when the operator accepts it, the plan
    // window, shown modally, plans `profile` (the editor's profile) about the turn axis
    // `turning_axis_y` and prints on the printer chosen. Returns whether the dialog was accepted.
    bool createplanClick(TBetaSPLpoints& profile, double turning_axis_y,
                         const PrintDialogRunner& run_dialog = {});

    // The same without an editor to ask: the profile is the one saved with the current turning
    // program (the data folder's Smot_name + ".spl"), with the editor's default turn axis
    // position of 100 mm; no file gives an empty profile, which the plan window reports. A
    // button's action: errors are shown to the operator, never thrown.
    bool createplanClick(const PrintDialogRunner& run_dialog = {});

    Tplanform& plan_window();
    QPrinter& plan_printer();

  private:
    struct Kept;
    Kept& kept();

    SawPlanHost& host_;
    std::unique_ptr<Kept> kept_;
};

}  // namespace ostrivane::gui
