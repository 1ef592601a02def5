#include "core/curve/beta_spline.h"

#include <cmath>

#include "core/plot/tgrita.h"
#include "core/text/number_format.h"

namespace ostrivane {

namespace {
constexpr int kMaxMatchPasses = 26;
}

BetaSpline::BetaSpline(bool aclosed, Tgrita& aGrita) : closed(aclosed), theGrita(aGrita) {}

void BetaSpline::message(const std::string& text, bool critical) {
    theGrita.GraphMessage(text, kCurveRed, critical);
}

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

void BetaSpline::compute_d() {
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

void BetaSpline::compute_delta() {
    delta = d[0][0] + d[0][1] + 2;
}

void BetaSpline::compute_a() {
    a[3] = 2 * u * u * u;
    a[2] = d[0][2] + u * (d[1][2] + u * (d[2][2] + u * d[3][2]));
    a[1] = d[0][1] + u * (d[1][1] + u * (d[2][1] + u * d[3][1]));
    // The basis sums to delta; the remainder equals 2*beta1^3*(1 - u)^3.
    a[0] = delta - a[3] - a[2] - a[1];
}

double BetaSpline::compute_Q(const data& Vd) const {
    const int s = segment;
    return (a[0] * Vd[s - 2] + a[1] * Vd[s - 1] + a[2] * Vd[s] + a[3] * Vd[s + 1]) / delta;
}

void BetaSpline::evaluate(double time, double& x_value, double& y_value) {
    evaluate_at(time, x_value, y_value, true);
}

void BetaSpline::evaluate_at(double time, double& x_value, double& y_value, bool report) {
    const int n = segments();
    if (time > n) {
        if (closed) {
            time = time - n;
        } else {
            if (report)
                message("time > number of spline segments: " + format_general(time), true);
            time = n;
        }
    } else if (time < 0 || std::isnan(time)) {
        // A NaN time would index no segment at all; it is clamped like a time below 0.
        if (closed && !std::isnan(time)) {
            time = time + n;
        } else {
            if (report)
                message("time < 0 : " + format_general(time), true);
            time = 0;
        }
    }
    if (n < 1) {
        // Fewer than two points make no segment; the basis would reach below slot -1.
        segment = 0;
        x_value = X.V[0];
        y_value = Y.V[0];
        return;
    }
    if (std::fabs(n - time) < 1e-20) {
        segment = n;
        u = 1;
    } else {
        const double whole = std::trunc(time);
        segment = static_cast<int>(whole) + 1;
        u = time - whole;
    }
    const int s = segment;
    const double blend = u * u * u * (6 * u * u - 15 * u + 10);
    beta1 = alpha1[s - 1] + blend * (alpha1[s] - alpha1[s - 1]);
    beta2 = alpha2[s - 1] + blend * (alpha2[s] - alpha2[s - 1]);
    compute_d();
    compute_delta();
    compute_a();
    x_value = compute_Q(X.V);
    y_value = compute_Q(Y.V);
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
