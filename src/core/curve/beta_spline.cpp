#include "core/curve/beta_spline.h"

#include <cmath>

#include "core/text/number_format.h"

namespace ostrivane {

namespace {
constexpr int kMaxMatchPasses = 26;
}

BetaSpline::BetaSpline(bool aclosed, MessageSink& notices) : closed(aclosed), notices_(&notices) {}

void BetaSpline::deselect() {
    selected.fill(false);
}

void BetaSpline::boundaryValues(data& mat) {
    curve_changed();
    const int n = segments();
    if (n < 1)
        return;
    // The shape values always travel with the coordinates, so their copies are made here too.
    for (data* arr : {&mat, &alpha1, &alpha2}) {
        data& m = *arr;
        if (closed) {
            // Periodic with period n: point 0 is replaced by point n.
            m[n + 1] = m[1];
            m[n + 2] = m[2];
            m[0] = m[n];
            m[-1] = m[n - 1];
        } else {
            m[-1] = m[0];
            m[n + 1] = m[n];
            m[n + 2] = m[n];
        }
    }
}

void SegmentBasis::compute_d() {
    const double b1 = beta1;
    const double b2 = beta2;
    // Columns: r = -2, -1, 0. The entries of column -2 beyond g = 0 are never used.
    d[0][0] = 2 * b1 * b1 * b1;
    d[0][1] = 4 * b1 * b1 + 4 * b1 + b2;
    d[0][2] = 2;
    d[1][1] = 6 * b1 * b1 * b1 - 6 * b1;
    d[1][2] = 6 * b1;
    d[2][1] = -6 * b1 * b1 * b1 - 6 * b1 * b1 - 3 * b2;
    d[2][2] = 6 * b1 * b1 + 3 * b2;
    d[3][1] = 2 * b1 * b1 * b1 + 2 * b1 * b1 + 2 * b1 + 2 * b2;
    d[3][2] = -2 * b1 * b1 - 2 * b1 - 2 * b2 - 2;
}

void SegmentBasis::compute_delta() {
    delta = d[0][0] + d[0][1] + 2;
}

void SegmentBasis::compute_a() {
    a[3] = 2 * u * u * u;
    a[2] = d[0][2] + u * (d[1][2] + u * (d[2][2] + u * d[3][2]));
    a[1] = d[0][1] + u * (d[1][1] + u * (d[2][1] + u * d[3][1]));
    // The basis sums to delta; the remainder equals 2*beta1^3*(1 - u)^3.
    a[0] = delta - a[3] - a[2] - a[1];
}

double SegmentBasis::compute_Q(const data& Vd) const {
    const int s = segment;
    return (a[0] * Vd[s - 2] + a[1] * Vd[s - 1] + a[2] * Vd[s] + a[3] * Vd[s + 1]) / delta;
}

double BetaSpline::clamp_time(double time, bool report) const {
    const int n = segments();
    if (time > n) {
        if (closed)
            return time - n;
        if (report)
            message("time > number of spline segments: " + format_general(time), true);
        return n;
    }
    if (time < 0 || std::isnan(time)) {
        // A NaN time would index no segment at all; it is clamped like a time below 0.
        if (closed && !std::isnan(time))
            return time + n;
        if (report)
            message("time < 0 : " + format_general(time), true);
        return 0;
    }
    return time;
}

SegmentBasis BetaSpline::basis(double time) const {
    return basis_at(clamp_time(time, false));
}

SegmentBasis BetaSpline::basis_at(double time) const {
    SegmentBasis b;
    const int n = segments();
    if (n < 1)
        return b;  // fewer than two points make no segment
    if (std::fabs(n - time) < 1e-20) {
        b.segment = n;
        b.u = 1;
    } else {
        const double whole = std::trunc(time);
        b.segment = static_cast<int>(whole) + 1;
        b.u = time - whole;
    }
    const int s = b.segment;
    const double u = b.u;
    const double blend = u * u * u * (6 * u * u - 15 * u + 10);
    b.beta1 = alpha1[s - 1] + blend * (alpha1[s] - alpha1[s - 1]);
    b.beta2 = alpha2[s - 1] + blend * (alpha2[s] - alpha2[s - 1]);
    b.compute_d();
    b.compute_delta();
    b.compute_a();
    return b;
}

CurvePoint BetaSpline::evaluate_at(double time, bool report) const {
    time = clamp_time(time, report);
    if (segments() < 1) {
        // Fewer than two points make no segment; the basis would reach below slot -1.
        return {X.V[0], Y.V[0]};
    }
    const SegmentBasis b = basis_at(time);
    return {b.compute_Q(X.V), b.compute_Q(Y.V)};
}

bool BetaSpline::match(int startseg, int endseg, bool matchX, bool matchY) {
    curve_changed();
    X.V = X.Tomatch;
    Y.V = Y.Tomatch;
    const double count = endseg - startseg + 1;
    int passes = 0;
    double mean_x = 0;
    double mean_y = 0;
    do {
        double sum_x = 0;
        double sum_y = 0;
        for (int t = startseg; t <= endseg; ++t) {
            double x = 0;
            double y = 0;
            // Each evaluation already sees the vertices corrected earlier in this pass.
            evaluate(t, x, y);
            if (matchX) {
                const double e = X.Tomatch[t] - x;
                X.V[t] = X.V[t] + 1.5 * e;
                sum_x += std::fabs(e);
            }
            if (matchY) {
                const double e = Y.Tomatch[t] - y;
                Y.V[t] = Y.V[t] + 1.5 * e;
                sum_y += std::fabs(e);
            }
        }
        mean_x = sum_x / count;
        mean_y = sum_y / count;
        ++passes;
        if (matchX)
            boundaryValues(X.V);
        if (matchY)
            boundaryValues(Y.V);
    } while ((mean_x >= match_number || mean_y >= match_number) && passes < kMaxMatchPasses);
    match_passes = passes;
    // Success in the last allowed pass still counts as a failure.
    return passes < kMaxMatchPasses;
}

bool BetaSpline::MatchAll(bool matchX, bool matchY) {
    if (Nopoints < 2)
        return true;
    if (match(0, segments(), matchX, matchY))
        return true;
    message("Matching is non-convergent");
    // Approximate the points rather than keep half-corrected vertices.
    curve_changed();
    X.V = X.Tomatch;
    Y.V = Y.Tomatch;
    return false;
}

}  // namespace ostrivane
