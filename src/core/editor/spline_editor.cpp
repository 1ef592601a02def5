#include "core/editor/spline_editor.h"

#include "core/editor/edit_step.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

#include "core/curve/point_import.h"
#include "core/curve/spline_file.h"
#include "core/editor/working_range.h"
#include "core/scene/profile_drawing.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {
constexpr Argb kMovePurple = 0xFF800080u;
constexpr Argb kBoxRed = 0xFFFF0000u;
}  // namespace

SplineEditor::SplineEditor(Engine& engine, Tgrita& thegrita, Canvas& bitmap, EditorHost& host)
    : moves(engine.drawing().moves),
      spline_pnts_(engine),
      thegrita_(thegrita),
      bitmap_(bitmap),
      host_(host),
      dialogs_(thegrita, [this] { return kEditorPointLimit - current().Nopoints; }) {}

void SplineEditor::set_dialogs(SplineDialogs* dialogs) {
    dialogs_.set_inner(dialogs);
}

// --- view --------------------------------------------------------------------------------

void SplineEditor::init_view(double axis) {
    set_move(false);
    bounds_of_view.vmin_x = 0;
    bounds_of_view.vmax_x = 1;
    bounds_of_view.vmin_y = 0;
    bounds_of_view.vmax_y = 1;
    bounds_of_view.fmin_x = 0;
    bounds_of_view.fmax_x = 1500;
    bounds_of_view.fmin_y = 0;
    bounds_of_view.fmax_y = 300;
    bounds_of_view.min_x = 0;
    bounds_of_view.max_x = 1500;
    spline_pnts_.job.draaias = axis;
    const double half =
        (bounds_of_view.max_x - bounds_of_view.min_x) * thegrita_.grbounds.aspect / 2;
    bounds_of_view.min_y = axis - half;
    bounds_of_view.max_y = axis + half;
    spline1 = true;
    moves.Movecount = 0;
    apply_view();
}

void SplineEditor::apply_view() {
    const bounder& b = bounds_of_view;
    thegrita_.SetViewport(b.vmin_x, b.vmin_y, b.vmax_x, b.vmax_y);
    thegrita_.SetWindow(b.min_x, b.min_y, b.max_x, b.max_y);
    thegrita_.SetViewport_BMP(bitmap_.width(), bitmap_.height(), b.vmin_x, b.vmin_y, b.vmax_x,
                              b.vmax_y);
    thegrita_.SetWindow_BMP(b.min_x, b.min_y, b.max_x, b.max_y, true);
    host_.set_coordinate_labels("X " + format_fixed(b.max_x, 2) + " mm",
                                "Y " + format_fixed(b.max_y, 2) + " mm");
}

void SplineEditor::resized() {
    // Before the first view there is no mapping to re-fit.
    if (thegrita_.VpFlag)
        thegrita_.resize(*thegrita_.thecanvas);
    if (thegrita_.VpFlag_BMP)
        thegrita_.resize_BMP(bitmap_);
}

void SplineEditor::set_turn_axis(double axis) {
    spline_pnts_.job.draaias = axis;
    repaint();
}

void SplineEditor::set_beam_thickness(double thickness) {
    spline_pnts_.job.thickness = thickness;
    repaint();
}

void SplineEditor::set_windows(double xmin, double ymin, double xmax, double ymax) {
    thegrita_.SetWindow(xmin, ymin, xmax, ymax);
    thegrita_.SetWindow_BMP(xmin, ymin, xmax, ymax, true);
}

void SplineEditor::show_window(double xmin, double ymin, double xmax, double ymax) {
    bounds_of_view.min_x = xmin;
    bounds_of_view.max_x = xmax;
    bounds_of_view.min_y = ymin;
    bounds_of_view.max_y = ymax;
    set_windows(xmin, ymin, xmax, ymax);
    host_.clear_bitmap();
    repaint();
}

void SplineEditor::wheel_zoom(float X, float Y, double factor) {
    if (!thegrita_.VpFlag || !(factor > 0))
        return;
    const WindowRec w = thegrita_.WindowBounds;
    const double width = w.xma - w.xmi;
    if (!(width > 0))
        return;
    double pixX = 0;
    double pixY = 0;
    thegrita_.PixelLength(pixX, pixY);
    // The world position under the pointer, in double precision.
    const double px = w.xmi + X * pixX;
    const double py = w.yma - Y * pixY;
    const double f = std::clamp(width * factor, kMinViewWidth, kMaxViewWidth) / width;
    if (f == 1)
        return;
    show_window(px - (px - w.xmi) * f, py - (py - w.ymi) * f, px + (w.xma - px) * f,
                py + (w.yma - py) * f);
}

void SplineEditor::fit_profile() {
    const TBetaSPLpoints& profile = spline_pnts_.profile;
    if (profile.Nopoints < 2)
        return;
    // The axis belongs in the picture: the profile is turned about it.
    double xmin = profile.X.Tomatch[0];
    double xmax = xmin;
    double ymin = spline_pnts_.job.draaias;
    double ymax = ymin;
    for (int k = 0; k < profile.Nopoints; ++k) {
        xmin = std::min(xmin, profile.X.Tomatch[k]);
        xmax = std::max(xmax, profile.X.Tomatch[k]);
        ymin = std::min(ymin, profile.Y.Tomatch[k]);
        ymax = std::max(ymax, profile.Y.Tomatch[k]);
    }
    constexpr double kRoom = 0.08;  // of the extent, on each side
    const double dx = std::max((xmax - xmin) * kRoom, kMinViewWidth / 2);
    const double dy = std::max((ymax - ymin) * kRoom, kMinViewWidth / 2);
    show_window(xmin - dx, ymin - dy, xmax + dx, ymax + dy);
    host_.set_coordinate_labels("X " + format_fixed(bounds_of_view.max_x, 2) + " mm",
                                "Y " + format_fixed(bounds_of_view.max_y, 2) + " mm");
}

void SplineEditor::pan_start(float X, float Y) {
    if (!thegrita_.VpFlag)
        return;
    pan_ = Pan{{X, Y}, thegrita_.WindowBounds};
}

void SplineEditor::pan_to(float X, float Y) {
    if (!pan_)
        return;
    const WindowRec& w = pan_->view;
    const double pixX = (w.xma - w.xmi) / (thegrita_.grbounds.Right - thegrita_.grbounds.Left);
    const double pixY = (w.yma - w.ymi) / (thegrita_.grbounds.Bottom - thegrita_.grbounds.Top);
    // The drawing follows the mouse; its centre stays within the working range.
    const double cx = (w.xmi + w.xma) / 2;
    const double cy = (w.ymi + w.yma) / 2;
    const double dx =
        std::clamp(cx - (X - pan_->from.x) * pixX, -kWorkingRange, kWorkingRange) - cx;
    const double dy =
        std::clamp(cy + (Y - pan_->from.y) * pixY, -kWorkingRange, kWorkingRange) - cy;
    show_window(w.xmi + dx, w.ymi + dy, w.xma + dx, w.yma + dy);
}

// --- spline program ----------------------------------------------------------------------

void SplineEditor::load_spline_file(std::string_view bytes) {
    if (bytes.size() <= 2)
        return;
    load_profile(bytes, spline_pnts_.drawing(), thegrita_);
}

std::string SplineEditor::spline_file() const {
    return write_spline_file(spline_pnts_.profile, spline_pnts_.spline2, moves);
}

// --- recorded moves ----------------------------------------------------------------------

bool SplineEditor::add_move(double X, double Y) {
    if (moves.Movecount >= RecordedMoves::kMaxMoves) {
        thegrita_.GraphMessage("No more than 50 moves can be recorded", MessageSink::kRed, false);
        return false;
    }
    EditStep step(*this);
    ++moves.Movecount;
    moves.Movements[moves.Movecount] = {X, Y};
    return true;
}

void SplineEditor::delete_move() {
    if (moves.Movecount <= 0)
        return;
    EditStep step(*this);
    --moves.Movecount;
}

// --- picture -----------------------------------------------------------------------------

void SplineEditor::paint() {
    Canvas& canvas = *thegrita_.thecanvas;
    if (!canvas.begin_scene())
        return;
    draw_moves();
    if (draw_box)
        draw_selection_box();
    draw_turning_profile(thegrita_, spline_pnts_);
    canvas.end_scene();
}

void SplineEditor::draw_moves() {
    // A stair path, first along x and then along y: the way the machine travels between them.
    for (int i = 1; i < moves.Movecount && i < RecordedMoves::kMaxMoves; ++i) {
        const MovePosition& a = moves.Movements[i];
        const MovePosition& b = moves.Movements[i + 1];
        thegrita_.DrawLine(a.X, a.Y, b.X, a.Y, kMovePurple);
        thegrita_.DrawLine(b.X, a.Y, b.X, b.Y, kMovePurple);
    }
}

void SplineEditor::draw_selection_box() {
    const float l = std::min(X_start, X_nieuw);
    const float r = std::max(X_start, X_nieuw);
    const float t = std::min(Y_start, Y_nieuw);
    const float b = std::max(Y_start, Y_nieuw);
    thegrita_.Rectangle(l, t, r, b, kBoxRed);
}

void SplineEditor::order_corners(float& a, float& b, float& c, float& d) {
    if (a > c)
        std::swap(a, c);
    if (b > d)
        std::swap(b, d);
}

SplineEditor::Box SplineEditor::take_box() const {
    Box box;
    thegrita_.Coords(X_start, Y_start, box.xmin, box.ymin);
    thegrita_.Coords(X_nieuw, Y_nieuw, box.xmax, box.ymax);
    order_corners(box.xmin, box.ymin, box.xmax, box.ymax);
    return box;
}

void SplineEditor::select_in_box() {
    const Box box = take_box();
    const auto inside = [&](double x, double y) {
        return box.xmin < x && x < box.xmax && box.ymin < y && y < box.ymax;
    };
    bool any = false;
    for (TBetaSPLpoints* set : {&spline_pnts_.profile, &spline_pnts_.spline2}) {
        for (int k = 0; k < set->Nopoints; ++k) {
            set->selected[k] = inside(set->X.Tomatch[k], set->Y.Tomatch[k]);
            any = any || set->selected[k];
        }
    }
    const auto between = [&](double x) { return box.xmin < x && x < box.xmax; };
    for (int p = 1; p <= spline_pnts_.profile.NoParts; ++p) {
        spline_pnts_.profile.parts_selected[p] =
            between(spline_pnts_.profile.fromX[p]) || between(spline_pnts_.profile.ToX[p]);
        any = any || spline_pnts_.profile.parts_selected[p];
    }
    host_.set_cut_enabled(any);
}

// --- undo --------------------------------------------------------------------------------

EditorDocument SplineEditor::document() const {
    return {spline_pnts_.profile.shape(), spline_pnts_.spline2.shape(), moves};
}

void SplineEditor::restore(const EditorDocument& document) {
    spline_pnts_.profile.load_shape(document.spline1);
    spline_pnts_.spline2.load_shape(document.spline2);
    moves = document.moves;
    // Marks of the other version would point at other points.
    for (TBetaSPLpoints* set : {&spline_pnts_.profile, &spline_pnts_.spline2}) {
        set->deselect();
        set->deselect_parts();
        set->Movable = 0;
    }
    host_.set_cut_enabled(false);
}

bool SplineEditor::undo() {
    set_move(false);
    auto back = history_.undo(document());
    if (!back)
        return false;
    restore(*back);
    repaint();
    return true;
}

bool SplineEditor::redo() {
    set_move(false);
    auto forward = history_.redo(document());
    if (!forward)
        return false;
    restore(*forward);
    repaint();
    return true;
}

void SplineEditor::reset_history() {
    drag_before_.reset();
    history_.clear();
    saved_ = document();
}

void SplineEditor::mark_saved() {
    saved_ = document();
}

void SplineEditor::revert() {
    set_move(false);
    restore(saved_);
    reset_history();
    repaint();
}

void SplineEditor::set_move(bool on) {
    if (on && !move)
        drag_before_ = document();
    move = on;
    if (!on)
        finish_drag();
}

void SplineEditor::finish_drag() {
    if (drag_before_) {
        history_.record(std::move(*drag_before_), document());
        drag_before_.reset();
    }
}

// --- import ------------------------------------------------------------------------------

int SplineEditor::import_points(std::string_view text) {
    EditStep step(*this);
    return ostrivane::import_points(text, spline_pnts_.profile);
}

int SplineEditor::import_points(const std::filesystem::path& file, std::string_view bytes) {
    EditStep step(*this);
    return import_point_file(file, bytes, spline_pnts_.profile);
}

bool SplineEditor::below_point_limit() const {
    return spline_pnts_.profile.Nopoints < kEditorPointLimit;
}

PointF SplineEditor::world(PointF pixel) const {
    PointF w;
    thegrita_.Coords(pixel.x, pixel.y, w.x, w.y);
    return w;
}

}  // namespace ostrivane
