#pragma once
#include <cstdint>
#include <string>

#include "core/toolpath/spline_rec.h"

namespace ostrivane {

// The parameters of one turning job, as the engine works with them: made once where a job
// starts (from the editor's job record and its two display fields) and handed over whole.
// The turning axis and the beam thickness also change live from the editor while it is open.
struct TurningParameters {
    double mill_width = 1.0;  // saw width, mm
    double steps_mm_x = 1.0;  // samples per mm along the profile
    double jobheight = 1.0;   // mm
    std::int32_t Heightdivisor = 1;  // runs to full height (fine pass)
    std::int32_t repeater = 1;       // how many times the whole job is repeated
    std::uint16_t NoRuns = 1;        // runs to full depth (rough passes)
    double roughdelayer = 1.0;       // dwell at each rough cut, ms
    double startposZ = 0;            // mm
    double draaias = 1.0;            // y of the turning axis, mm
    double thickness = 1.0;          // beam thickness, mm (display only)
    bool zoet = false;               // do the fine task
    bool rough = false;              // do the rough task
    std::string TNDFile;             // the tooth file; empty for none
    bool second_spline = false;      // the second spline gives the slots' depth
    bool match1 = false;             // match the profile's vertices to its points
    bool match2 = false;             // the same for the second spline
    // Material the rough passes leave for the fine pass, mm: 2 when a fine pass follows.
    double HoldBack = 0;
};

// The parameters in the order the engine has always taken them. The run count is a 16-bit
// number: what the field holds beyond that wraps.
TurningParameters turning_parameters(double Amill_width, double Asteps_mm_X, double Ajobheight,
                                     std::int32_t AheightDivisor, std::int32_t Arepeater,
                                     std::int32_t ANoruns, double Aroughdelayer, double AstartZ,
                                     double Adraaias, double Athickness, bool Azoet, bool Arough,
                                     std::string ATNDfile, bool Asecond_spline, bool Amatch1,
                                     bool Amatch2);

// The editor's hand-over: the job record's fields, the two display fields and the tooth file
// chosen in the main window (empty for none).
TurningParameters turning_parameters(const TsplineRec& rec, double Adraaias, double Athickness,
                                     std::string ATNDfile);

}  // namespace ostrivane
