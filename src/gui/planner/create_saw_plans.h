#pragma once
#include <functional>

class QPrinter;
class QWidget;

namespace ostrivane {
class TBetaSPLpoints;
}

namespace ostrivane::gui {

class TOstrivane;
class Tplanform;

// How the print dialog is run: true when the operator accepted it. Tests replace it.
using PrintDialogRunner = std::function<bool(QPrinter& printer, QWidget* parent)>;

// The main window's "Create saw plans" (createplanClick): the print dialog over the main
// window; when the operator accepts it, the plan window, shown modally, plans `profile` (the
// editor's profile) about the turn axis `draaias` and prints on the printer chosen. The plan
// window and the printer are made on first use and kept with the main window, so the window's
// fields and the printer's settings carry over from one use to the next. Returns whether the
// dialog was accepted.
//
// Hook for the main window's button:
//   connect(createplan, &QPushButton::clicked, this, [this] { createplanClick(*this); });
bool createplanClick(TOstrivane& main, TBetaSPLpoints& profile, double draaias,
                     const PrintDialogRunner& run_dialog = {});

// The same until the spline editor exists: the profile is the one saved with the current
// turning program (the data folder's Smot_name + ".spl"), with the editor's default turn axis
// position of 100 mm; no file gives an empty profile, which the plan window reports.
bool createplanClick(TOstrivane& main, const PrintDialogRunner& run_dialog = {});

// The plan window kept with the main window, made on first use.
Tplanform& plan_window(TOstrivane& main);
QPrinter& plan_printer(TOstrivane& main);

}  // namespace ostrivane::gui
