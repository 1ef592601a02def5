#include "core/toolpath/turning_parameters.h"

#include <utility>

namespace ostrivane {

TurningParameters turning_parameters(double Amill_width, double Asteps_mm_X, double Ajobheight,
                                     std::int32_t AheightDivisor, std::int32_t Arepeater,
                                     std::int32_t ANoruns, double Aroughdelayer, double AstartZ,
                                     double Adraaias, double Athickness, bool Azoet, bool Arough,
                                     std::string ATNDfile, bool Asecond_spline, bool Amatch1,
                                     bool Amatch2) {
    TurningParameters p;
    p.mill_width = Amill_width;
    p.steps_mm_x = Asteps_mm_X;
    p.jobheight = Ajobheight;
    p.Heightdivisor = AheightDivisor;
    p.repeater = Arepeater;
    p.NoRuns = static_cast<std::uint16_t>(ANoruns);
    p.roughdelayer = Aroughdelayer;
    p.startposZ = AstartZ;
    p.draaias = Adraaias;
    p.thickness = Athickness;
    p.zoet = Azoet;
    p.rough = Arough;
    p.TNDFile = std::move(ATNDfile);
    p.second_spline = Asecond_spline;
    p.match1 = Amatch1;
    p.match2 = Amatch2;
    p.HoldBack = Azoet ? 2.0 : 0.0;
    return p;
}

TurningParameters turning_parameters(const TsplineRec& rec, double Adraaias, double Athickness,
                                     std::string ATNDfile) {
    return turning_parameters(rec.mill_width, rec.ssteps_mm_x, rec.ssjobheight,
                              rec.heightDivisor, rec.ssrepeater, rec.Noruns, rec.RoughDelayer,
                              rec.StartZ, Adraaias, Athickness, rec.zoeting, rec.ssrough,
                              std::move(ATNDfile), rec.ssDoublet, rec.ssmatch1, rec.ssmatch2);
}

}  // namespace ostrivane
