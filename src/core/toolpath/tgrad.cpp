#include "core/toolpath/tgrad.h"

#include <algorithm>

#include "core/gcode/gcode_program.h"
#include "core/text/error.h"
#include "core/text/number_format.h"

namespace ostrivane {
TGrad::TGrad(Profile& drawing, MessageSink& notices, const std::filesystem::path& data_folder,
             MainLog log)
    : profile(drawing.spline1),
      spline2(drawing.spline2),
      drawing_(drawing),
      notices_(notices),
      log_(std::move(log)) {
    read_saw(data_folder);
}

void TGrad::set_data(double Amill_width, double Asteps_mm_X, double Ajobheight,
                     std::int32_t AheightDivisor, std::int32_t Arepeater, std::int32_t ANoruns,
                     double Aroughdelayer, double AstartZ, double Adraaias, double Athickness,
                     bool Azoet, bool Arough, const std::string& ATNDfile, bool Asecond_spline,
                     bool Amatch1, bool Amatch2) {
    profile.set_data(Amill_width, Asteps_mm_X, Amatch1);
    spline2.set_data(Amill_width, Asteps_mm_X, Amatch2);
    profile.GradCounter = 0;
    // The run count is a 16-bit number: what the field holds beyond that wraps.
    NoRuns = static_cast<std::uint16_t>(ANoruns);
    jobheight = Ajobheight;
    Heightdivisor = AheightDivisor;
    repeater = Arepeater;
    roughdelayer = Aroughdelayer;
    zoet = Azoet;
    rough = Arough;
    startposZ = AstartZ;
    draaias = Adraaias;
    thickness = Athickness;
    TNDFile = ATNDfile;
    // The rough passes stay 2 mm short of the profile when a fine pass follows.
    HoldBack = zoet ? 2.0 : 0.0;
    second_spline = Asecond_spline;
}

void TGrad::set_data(const TsplineRec& rec, double Adraaias, double Athickness,
                     const std::string& ATNDfile) {
    set_data(rec.mill_width, rec.ssteps_mm_x, rec.ssjobheight, rec.heightDivisor, rec.ssrepeater,
             rec.Noruns, rec.RoughDelayer, rec.StartZ, Adraaias, Athickness, rec.zoeting,
             rec.ssrough, ATNDfile, rec.ssDoublet, rec.ssmatch1, rec.ssmatch2);
}

void TGrad::read_saw(const std::filesystem::path& data_folder) {
    const SawOutline outline = ostrivane::read_saw(data_folder, log_);
    saw_rec = outline.saw_rec;
    count_saw_rec = outline.count_saw_rec;
}

void TGrad::show_saw(double x, double top, bool fine) {
    if (view_ != nullptr)
        view_->saw(x, top, fine);
    pump(x);
}

void TGrad::notify(const std::string& text, bool critical) {
    notices_.notice(text, critical);
}

void TGrad::log(const std::string& text, bool critical) {
    if (log_)
        log_(text, critical);
}

void TGrad::pump(double x) {
    if (context_ == nullptr)
        return;
    const double span = profile.XmaxX - profile.XminX;
    if (progress_runs_ > 0 && span > 0) {
        const double along = std::clamp((x - profile.XminX) / span, 0.0, 1.0);
        context_->progress(progress_run_ + along, progress_runs_);
    }
    context_->pump();
    if (context_->cancelled())
        throw JobCancelled();
}

}  // namespace ostrivane
