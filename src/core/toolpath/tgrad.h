#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/app/field_source.h"
#include "core/curve/lowest_point.h"
#include "core/curve/profile.h"
#include "core/gcode/move_stream.h"
#include "core/text/job_context.h"
#include "core/text/outcome.h"
#include "core/toolpath/main_log.h"
#include "core/toolpath/plunge_rules.h"
#include "core/toolpath/profile_sampler.h"
#include "core/toolpath/saw_outline.h"
#include "core/toolpath/shading_model.h"
#include "core/toolpath/tooth_reader.h"
#include "core/toolpath/turning_parameters.h"
#include "core/toolpath/turning_view.h"

namespace ostrivane {

using gradients = OffsetArray<gradient_rec, 1, TBetaSPLpoints::kMaxGradients>;

// The turning engine: the calculation that turns the operator's profile (spline 1 of the
// editor, owned by whoever owns the Profile) into a turning program. It keeps the job's
// parameters, places saw positions on the profile's turning points, merges the slots of a tooth
// file (whose depth the second spline can give) and produces the moves of the rough, fast rough
// and fine passes, telling its view about every saw on the way.
//
// Geometry: x runs along the turning axis, y is the height of the saw's top edge (y = 0 at the
// saw's home); the workpiece turns about the line y = job.draaias and keeps a radius of
// job.draaias - y(x). A saw position is its left edge and its top.
//
// Of the drawing, the engine writes only the profile's sampling state: set_data gives the point
// sets their saw width, resolution and match flag, and CalcSpline leaves the turning points
// with their saw positions, the sampled y range and the search step. That state is the
// profile's last gradient calculation, which the editor's zoom to the spline reads after F7.
//
// Calling order: construct once over a profile that outlives the engine; set_data before every
// calculation; CalcSpline while a program is being written. The engine never draws: it tells
// its view about the saws.
class TGrad {
  public:
    // Notices go to `notices` (not owned; the plot surface's label in the window). Reads the
    // data folder's saw outline; what is wrong with it goes to `log` and leaves the blade alone.
    TGrad(Profile& drawing, MessageSink& notices, const std::filesystem::path& data_folder,
          MainLog log = {});
    TGrad(const TGrad&) = delete;
    TGrad& operator=(const TGrad&) = delete;

    // Hands over the job parameters: the profile and the second spline take the saw width,
    // the resolution and their match flags; the rest is kept in `job`.
    void set_data(const TurningParameters& parameters);
    void set_data(double Amill_width, double Asteps_mm_X, double Ajobheight,
                  std::int32_t AheightDivisor, std::int32_t Arepeater, std::int32_t ANoruns,
                  double Aroughdelayer, double AstartZ, double Adraaias, double Athickness,
                  bool Azoet, bool Arough, const std::string& ATNDfile, bool Asecond_spline,
                  bool Amatch1, bool Amatch2);

    void read_saw(const std::filesystem::path& data_folder);

    // The drawing this engine turns.
    Profile& drawing() { return drawing_; }

    // Where long work lets the host breathe and may be cancelled; null: never. Not owned.
    void set_context(JobContext* context) { context_ = context; }
    // Who is shown the saws of a calculation; null: nobody. Not owned.
    void set_view(TurningView* view) { view_ = view; }
    void set_log(MainLog log) { log_ = std::move(log); }

    // --- the turning calculation (one program) -------------------------------------------
    // Gradients, saw positions, tooth slots and then, per repetition, the passes, as moves of
    // `head`, which ends where the machine stands. The tooth file's slots are cut when
    // `UseTooth` is set (the tab's "Use TND file" or "Use a second spline"). Returns `failure`.
    // Throws Error for an unreadable tooth file or a move the writer cannot write, and
    // JobCancelled for a cancelled job.
    Outcome CalcSpline(MoveStream& head, bool UseFast, bool UseTooth);
    void placesaws();
    void readtooth(toothrec& tth);
    // The slots of a tooth file (its bytes, named in messages) that calctooth would merge, in
    // the file's order, each right edge kept within the profile: the design a cut check holds
    // a program to. Throws Error for a damaged file.
    std::vector<toothrec> profile_slots(std::string bytes, std::string name);
    void calctooth();
    Outcome roughpass(MoveStream& head);
    Outcome fastroughpass(MoveStream& head);
    Outcome finepass(MoveStream& head);

    // --- fields ---------------------------------------------------------------------------
    // The profile that is turned and the second spline, both owned by the Profile.
    TBetaSPLpoints& profile;
    TBetaSPLpoints& spline2;
    // The job's parameters, from the last set_data; the editor changes the turning axis and the
    // beam thickness live.
    TurningParameters job;
    OffsetArray<SawRec, 1, SawOutline::kMaxRecords> saw_rec;
    std::int32_t gradCounter2 = 0;
    gradients gradientsArray2;
    bool closing = false;
    bool shaderunning = false;
    bool failure = false;
    // What stopped the last calculation, as the operator was told it; empty when nothing did.
    std::string failure_reason;
    std::unique_ptr<ToothFile> toth;
    std::int32_t teethcounter = 1;
    std::int32_t count_saw_rec = 0;
    std::int32_t noteeth = 0;
    double EvaluatePos = 0;

    // The slots merged into the pass list by the last calctooth, for the plunge limit.
    std::vector<toothrec> merged_slots;

  private:
    // Shows a saw and lets the host breathe after it.
    void show_saw(double x, double top, bool fine);
    // A notice on the editor's message label (and in the log).
    void notify(const std::string& text, bool critical = false);
    // The calculation fails: `failure` is set and `text` is told as the reason.
    void fail(const std::string& text, bool critical = false);
    void log(const std::string& text, bool critical);
    // After each saw drawn: the host may repaint; a cancelled job stops here. The saw's x tells
    // how far the current run over the profile has come.
    void pump(double x);
    // One run of a pass over the whole profile is done.
    void run_done() { progress_run_ += 1; }
    // The lowest profile heights under the saw window [L, R] for the turning point i: `t` on
    // its left side (the left edge and the turning points between it and i), `h` on its right.
    void evaluate_window(int i, double L, double R, double& t, double& h);
    // The sound limits of a rough plunge with the saw's left edge at x: its limit and floor.
    PlungeRule with_limits(PlungeRule rule, double x);
    // One plunge as judged, or the job failed with its message.
    Outcome write_plunge(MoveStream& head, const PlungeRule& rule, double x, double drawn);
    // The merge's walk over the open tooth file: the first tooth that starts beyond the
    // profile's start (and the second spline's, when it gives the depth), false when none does;
    // whether a tooth still starts on the profile; and the next tooth, false after the last.
    bool first_slot(toothrec& T);
    bool on_profile(const toothrec& T) const;
    bool next_slot(toothrec& T);
    bool append_pass_entry(const gradient_rec& entry);
    void mark_slot_edge(double x, double y);
    // Appends the pass-list entry of a slot edge and marks it; false when the list is full.
    bool slot_edge_entry(double x, double depth);
    // Refuses a job that could not finish: a profile far longer than any machine turns.
    bool job_too_long(bool UseFast);
    // Warns once when the profile runs backwards in x somewhere: no saw can turn an undercut.
    void warn_of_undercuts();

    Profile& drawing_;
    MessageSink& notices_;
    MainLog log_;
    JobContext* context_ = nullptr;
    TurningView* view_ = nullptr;
    // The fine pass's many profile searches, each close to the one before.
    ProfileSampler sampler_{profile};
    LowestPoint lowest_point_;
    bool plunge_limit_logged_ = false;
    // Progress of a calculation, in runs over the profile: done and in all.
    double progress_run_ = 0;
    double progress_runs_ = 0;
};

}  // namespace ostrivane
