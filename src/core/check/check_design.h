#pragma once
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/check/design_curve.h"
#include "core/fingerjoint/fast_rec.h"
#include "core/toolpath/saw_outline.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane {

// A slot the design asks for: from x `left` to x `right`, `depth` mm deeper than the surface
// around it.
struct DesignSlot {
    double left = 0;
    double right = 0;
    double depth = 0;
    friend bool operator==(const DesignSlot&, const DesignSlot&) = default;
};

// The least and the most a design asks for within a small slack of an x: the slack takes in
// the edges of slots, which a program reaches only to the last digit it writes.
struct DesignBand {
    double low = 0;
    double high = 0;
};

// The slot depths within `slack` of x (0 where the slack reaches past a slot's edge or no slot
// is near). `slots` in order of their left edges.
DesignBand slot_depths(const std::vector<DesignSlot>& slots, double x, double slack);
// The running maximum of the right edges of `slots` (in order of their left edges). With it a
// look-up starts at the first slot that can reach x, so a million slots cost log time each.
std::vector<double> slot_reach(const std::vector<DesignSlot>& slots);
DesignBand slot_depths(const std::vector<DesignSlot>& slots, const std::vector<double>& reach,
                       double x, double slack);

// The slots of a tooth file as the turning job merges them into the profile: from the first
// one that starts beyond the profile's start, up to the first one that starts at or beyond its
// end, each ending at the profile's end at the latest; the depth from the file, or from the
// second spline when the engine uses it. The engine reads the file as the job does (so the
// slots are those it cuts); it is left without an open tooth file. Throws Error for a file
// that cannot be read.
std::vector<DesignSlot> turning_slots(TGrad& engine, std::string tooth_bytes,
                                      std::string tooth_name);

// The deepest a saw top stands above a design over a range of x, and where; -infinity where
// there is no design.
struct DesignExcess {
    double mm = -std::numeric_limits<double>::infinity();
    double x = 0;
};

// What a turning program is meant to cut: the profile of the engine (with its saw width,
// resolution, turning axis and beam thickness set) between its first and last point, every
// branch of it, deepened by the slots, once for every copy of the job (a repeated job turns copy
// k with its x starting at k times the profile's end).
class TurningDesign {
  public:
    TurningDesign(TGrad& engine, std::vector<DesignSlot> slots);

    double begin() const { return begin_; }
    double end() const { return end_; }
    // The height the saw top should reach at x: the profile plus the depth of a slot over x
    // (the least and the most within `slack` of x); nullopt where no copy of the profile lies
    // (before it, between copies, after it). Cheapest read at growing x.
    std::optional<DesignBand> surface(double x, double slack = 0);
    // The profile alone at x, nullopt as above.
    std::optional<double> profile(double x);
    // The most a straight saw top over [a, b], through y0 at x0 with `slope`, stands above the
    // design (the deepest of its slots counted where a slot lies within a rounding error).
    DesignExcess excess(double a, double b, double x0, double y0, double slope) const;

    const std::vector<DesignSlot>& slots() const { return slots_; }
    double saw_width() const { return engine_.profile.mill_width; }
    double resolution() const { return engine_.profile.steps_mm_x; }
    double turning_axis() const { return engine_.job.draaias; }
    double beam_thickness() const { return engine_.job.thickness; }
    const SawOutline& outline() const { return outline_; }
    int copies() const { return copies_; }
    // Where copy k's x = 0 lies.
    double copy_origin(int k) const { return k * engine_.profile.XmaxX; }

  private:
    std::optional<double> local(double x) const;
    void excess_in_copy(double a, double b, double x0, double y0, double slope,
                        DesignExcess& most) const;

    TGrad& engine_;
    DesignCurve curve_;
    DesignCurve::Walker walker_;
    std::vector<DesignSlot> slots_;
    std::vector<double> reach_;
    SawOutline outline_;
    int copies_ = 1;
    double begin_ = 0;
    double end_ = 0;
};

// What a finger-joint program is meant to cut: its slots (from a tooth file, or the tab's
// fields), sawn with a blade of `saw_width` into the face that lies `face_y` along Y from
// where the program starts.
struct JointDesign {
    std::vector<DesignSlot> slots;
    double saw_width = 0;
    double face_y = 0;
};

// The slots of the finger-joint fields, as their tooth file lists them.
JointDesign joint_design_of_fields(const TfastRec& job);
// The slots of a tooth file for the same joint. Throws Error for a file that cannot be read.
JointDesign joint_design_of_tooth_file(const TfastRec& job, std::string bytes, std::string name);

}  // namespace ostrivane
