#pragma once
#include <cstdint>
#include <vector>

#include "core/curve/beta_spline.h"
#include "core/curve/gradient_rec.h"
#include "core/curve/spline_shape.h"
#include "core/curve/spline_stream.h"
#include "core/text/job_context.h"
#include "core/text/outcome.h"

namespace ostrivane {

// The editable profile: an open Beta-spline whose points are kept in strictly ascending x, so
// that the profile is a function of x, together with its fine-milling parts, its sampling state
// and its sampling state. Operations that name one point count from 1 and use 0 for none.
// Notices go to a message sink; the set never draws (the scene layer draws it).
class TBetaSPLpoints : public BetaSpline {
  public:
    static constexpr int kMaxParts = 10000;
    static constexpr int kMaxGradients = 300;

    explicit TBetaSPLpoints(MessageSink& notices);

    // The operator's work as a value, and back: loading replaces the points and the parts
    // (points beyond the capacity are dropped, like parts beyond theirs) and refreshes the
    // curve as after an edit. Selection marks and the sampling state stay as they are.
    SplineShape shape() const;
    void load_shape(const SplineShape& shape);
    void load_points(const std::vector<ShapePoint>& points);
    void load_parts(const std::vector<MillingPart>& parts);

    virtual void set_data(double aMill_width, double asteps_mm_x, bool Amatchthem);
    void inc_interval(std::int32_t increm, double minus_x, double maxis_x);

    // Editing. Each ends with the refresh of boundary slots, vertices and the inner x range.
    void save_point(double X_value, double Y_value);
    void destroy_points(double min_x, double min_y, double max_x, double max_y);
    void destroy_point(std::int32_t point_counter);
    std::uint16_t SeekNearest(double X_value, double Y_value) const;
    void SeekMove(double X_value, double Y_value);
    void movePoint(double X_value, double Y_value);
    // The slot whose shape values changeWeight edits for the pointer at (X_value, Y_value):
    // the nearest point's, or slot -1 (a boundary copy the refresh overwrites) when no point
    // is in reach.
    int weight_slot(double X_value, double Y_value) const {
        return SeekNearest(X_value, Y_value) - 1;
    }
    // Gives the point in `slot` the shape values Tension (alpha1) and Bias (alpha2); when the
    // curve cannot be matched with them, it keeps the old ones.
    void changeWeight(int slot, double Tension, double Bias);

    // Fine-milling parts, numbered from 1, sorted and never overlapping.
    void save_part(double Xfrom, double XTo);
    void destroy_part(double min_x, double max_x);
    void destroy_part_part(std::uint16_t point_counter);
    void deselect_parts();

    // Whole-set transforms of the points (and, for transfer and Scale, the parts).
    // Moves the set so that its first point lands on (TransX, TransY).
    void transfer(double TransX, double TransY);
    // Mirrors every y about the mean y of the points.
    void mirror();
    // Turns the set end for end about the middle of its x range.
    void swap();
    // Maps the sampled y range and the inner x range onto the box. Refused (with a message,
    // nothing changed) for fewer than two points or a range of zero size.
    void Scale(double min_X, double min_Y, double max_X, double max_Y);
    // Adds the upper half of a circle about (Position_X, Position_Y) as support_points + 1
    // points, from 0° to 180°; nothing for a negative count, a message for none.
    void circle(double Position_X, double Position_Y, double circle_diam,
                std::int32_t support_points);

    // File sections (the codec is in spline_file.h); the readers leave the set as it was when
    // the section is too short to start, and empty it when the section is damaged.
    void write_points(SplineStream& chain_saw) const;
    void read_points(SplineStream& chain_saw);
    void write_parts(SplineStream& chain_saw) const;
    void read_parts(SplineStream& chain_saw);
    // Keeps at most `limit` points, refreshing the curve for its new end.
    void limit_points(int limit);

    // Sampling. Both need at least two points.
    // y of the profile at x = X_Value (within 0.01 mm in x, or at the step floor); leaves the
    // curve parameter of the result in oldtime. Left of the curve it gives the start, right of
    // it the end.
    double YatX(double X_Value);
    // The same search with the curve's points taken from `evaluate_point(t, x, y)`, for a caller
    // that keeps points it has evaluated before; defined in spline_search.h.
    template <typename EvaluatePoint>
    double YatX(double X_Value, EvaluatePoint&& evaluate_point);
    // Walks the profile at the resolution 1/steps_mm_x and records every change of direction
    // of y in GradientsArray, with YminY and YmaxY. Fails when more than 300
    // turning points (the 300 stay), or a walk refused (a resolution below 1 sample/mm, a
    // profile too long or too irregular to sample, or cancelled by `job`), with a notice.
    Outcome Calcgradients(JobContext* job = nullptr);

    bool matchThem = false;
    OffsetArray<gradient_rec, 1, 300> GradientsArray;
    std::uint16_t Nostep = 1;
    std::uint16_t GradCounter = 0;
    double steps_mm_x = 1.0;
    std::int32_t Movable = 0;
    double XmaxX = 0;
    double XminX = 0;
    double YminY = 0;
    double YmaxY = 0;
    std::int32_t NumIntervals = 20;
    std::uint16_t NoParts = 0;
    data fromX;
    data ToX;
    sel_array parts_selected;
    double oldtime = 0;
    double left_x = 0;
    double right_x = 0;
    double mill_width = 1.0;

  protected:
    // A whole number of steps as the 16-bit count; values it cannot hold give 0.
    static std::uint16_t step_count(double rounded) {
        return rounded >= 0 && rounded <= 65535 ? static_cast<std::uint16_t>(rounded) : 0;
    }
    // After an edit: the boundary slots of the points (and of the shape values),
    void refresh_boundaries();
    // the vertices (re-matched, or the points themselves),
    void refresh_vertices();
    // and the inner x range.
    void refresh_range();
    void refresh() {
        refresh_boundaries();
        refresh_vertices();
        refresh_range();
    }
    // The vertices after a move or weight change: matched (or copied); false when matching
    // failed and the change has to be undone.
    bool match_or_copy();
    void remove_point_slot(int slot);
    void remove_part(int number);

  private:
    // YatX's parameter steps: the forward scan from t = 0, and the finer one it starts with
    // when the curve's start already lies near the x sought.
    static constexpr double kCoarseStep = 0.1;
    static constexpr double kFineStep = 0.0001;
    // The coarse forward scan of YatX (parameter steps of 0.1 from t = 0) depends only on the
    // curve, so it is kept as a table: entry i holds t_i, the point at t_i and the largest x
    // (NaN counting as infinite) of entries 0 … i, which tells where the scan would stop.
    struct CoarseScan {
        std::vector<double> t, x, y, reach;
        std::uint64_t generation = 0;
        int Nopoints = -1;
    };
    // The table, made again first when the curve has changed since. Searches call this once
    // each, so the common case stays a check in line.
    const CoarseScan& coarse_scan() {
        if (scan_.generation != curve_generation() || scan_.Nopoints != Nopoints)
            make_coarse_scan();
#ifndef NDEBUG
        else
            check_coarse_scan();
#endif
        return scan_;
    }
    void make_coarse_scan();
    void check_coarse_scan();
    void leave_oldtime_at_last_turn();
    std::uint64_t curve_fingerprint() const;

    CoarseScan scan_;
    // Debug builds check now and then that the cached scan still fits the curve.
    std::uint64_t scan_fingerprint_ = 0;
    std::uint32_t scan_uses_ = 0;
};

}  // namespace ostrivane
