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

void TGrad::set_data(const TurningParameters& parameters) {
    profile.set_data(parameters.mill_width, parameters.steps_mm_x, parameters.match1);
    spline2.set_data(parameters.mill_width, parameters.steps_mm_x, parameters.match2);
    profile.GradCounter = 0;
    job = parameters;
}

void TGrad::set_data(double Amill_width, double Asteps_mm_X, double Ajobheight,
                     std::int32_t AheightDivisor, std::int32_t Arepeater, std::int32_t ANoruns,
                     double Aroughdelayer, double AstartZ, double Adraaias, double Athickness,
                     bool Azoet, bool Arough, const std::string& ATNDfile, bool Asecond_spline,
                     bool Amatch1, bool Amatch2) {
    set_data(turning_parameters(Amill_width, Asteps_mm_X, Ajobheight, AheightDivisor, Arepeater,
                                ANoruns, Aroughdelayer, AstartZ, Adraaias, Athickness, Azoet,
                                Arough, ATNDfile, Asecond_spline, Amatch1, Amatch2));
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

void TGrad::fail(const std::string& text, bool critical) {
    failure = true;
    failure_reason = text;
    notify(text, critical);
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
