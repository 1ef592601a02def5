#include "core/editor/spline_editor.h"

#include "core/editor/edit_step.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {
constexpr const char* kBoxTooSmall = "Selection box too small...";
}  // namespace

void SplineEditor::FormKeyDown(std::uint16_t Key, ShiftState Shift, std::optional<PointF> pointer) {
    using namespace editor_key;
    if (Key >= A && Key <= Z) {
        if (Shift.alt) {
            letter_command(static_cast<char>(Key), pointer);
        } else if (Shift.ctrl && Key == letter('Z')) {
            Shift.shift ? redo() : undo();
        } else if (Shift.ctrl && Key == letter('Y')) {
            redo();
        }
        return;
    }
    TBetaSPLpoints& profile = spline_pnts_.profile;
    switch (Key) {
        case Tab:
            profile.inc_interval(Shift.shift ? -20 : 20, bounds_of_view.min_x,
                                 bounds_of_view.max_x);
            return;
        case Escape:
            draw_box = false;
            set_move(false);
            for (TBetaSPLpoints* set : {&profile, &spline_pnts_.spline2}) {
                set->deselect();
                set->deselect_parts();
            }
            repaint();
            return;
        case function(1):
            host_.show_commands();
            return;
        case function(2):
            if (!pointer)
                return;
            if (below_point_limit()) {
                const PointF w = world(*pointer);
                EditStep step(*this);
                current().save_point(w.x, w.y);
            }
            repaint();
            return;
        case function(3):
            if (Shift.shift) {
                zoom_spline();
            } else if (draw_box) {
                zoom_box();
            } else {
                zoom_all();
            }
            return;
        case function(4): {
            const Box box = take_box();
            if (box.degenerate())
                return;
            {
                EditStep step(*this);
                if (spline1) {
                    profile.destroy_points(box.xmin, box.ymin, box.xmax, box.ymax);
                    profile.destroy_part(box.xmin, box.xmax);
                } else {
                    spline_pnts_.spline2.destroy_points(box.xmin, box.ymin, box.xmax, box.ymax);
                }
            }
            repaint();
            return;
        }
        case function(5): {
            if (!draw_box)
                return;
            const Box box = take_box();
            if (box.degenerate()) {
                thegrita_.GraphMessage(kBoxTooSmall, MessageSink::kRed, false);
            } else {
                EditStep step(*this);
                current().Scale(box.xmin, box.ymin, box.xmax, box.ymax);
            }
            repaint();
            return;
        }
        case function(6): {
            if (!draw_box)
                return;
            const Box box = take_box();
            {
                EditStep step(*this);
                profile.save_part(box.xmin, box.xmax);
            }
            repaint();
            return;
        }
        case function(7):
            host_.clear_bitmap();
            host_.calculate_for_milling();
            return;
        case function(8): {
            if (!pointer)
                return;
            const PointF w = world(*pointer);
            {
                EditStep step(*this);
                change_weight(w);
            }
            draw_box = false;
            repaint();
            return;
        }
        case function(9): {
            if (!pointer)
                return;
            const PointF w = world(*pointer);
            {
                EditStep step(*this);
                current().transfer(w.x, w.y);
            }
            draw_box = false;
            repaint();
            return;
        }
        case function(10): {
            {
                EditStep step(*this);
                current().mirror();
            }
            draw_box = false;
            repaint();
            return;
        }
        case function(11):
            zoom_beam();
            return;
        default:
            return;
    }
}

void SplineEditor::letter_command(char letter, std::optional<PointF> pointer) {
    switch (letter) {
        case 'A':
            switch_spline();
            return;
        case 'C':
            if (pointer) {
                const PointF w = world(*pointer);
                {
                    EditStep step(*this);
                    add_circle(w);
                }
                repaint();
            }
            return;
        case 'D':
            if (pointer) {
                const PointF w = world(*pointer);
                // A point typed in is added like any other: only below the limit.
                if (below_point_limit()) {
                    EditStep step(*this);
                    add_point(w);
                }
                repaint();
            }
            return;
        case 'M':
            set_move(!move);
            draw_box = false;
            select_but = false;
            zm_but = false;
            add_point_but = false;
            if (pointer) {
                const PointF w = world(*pointer);
                current().SeekMove(w.x, w.y);
                repaint();
            }
            return;
        case 'P':
            repaint();
            return;
        case 'Q':
            if (pointer) {
                const PointF w = world(*pointer);
                add_move(w.x, w.y);
                repaint();
            }
            return;
        case 'R':
            delete_move();
            repaint();
            return;
        case 'S':
            host_.clear_bitmap();
            host_.shade();
            return;
        case 'Z': {
            {
                EditStep step(*this);
                current().swap();
            }
            repaint();
            return;
        }
        default:
            return;
    }
}

void SplineEditor::switch_spline() {
    if (!spline_pnts_.job.second_spline) {
        thegrita_.GraphMessage("Second spline is not activated..", MessageSink::kRed, false);
        return;
    }
    spline1 = !spline1;
    thegrita_.GraphMessage(spline1 ? "Working on spline 1." : "Working on spline 2.",
                           MessageSink::kRed, false);
}

void SplineEditor::zoom_box() {
    const Box box = take_box();
    if (box.degenerate()) {
        thegrita_.GraphMessage(kBoxTooSmall, MessageSink::kRed, false);
        repaint();
        return;
    }
    bounds_of_view.min_x = box.xmin;
    bounds_of_view.max_x = box.xmax;
    bounds_of_view.min_y = box.ymin;
    bounds_of_view.max_y = box.ymax;
    set_windows(box.xmin, box.ymin, box.xmax, box.ymax);
    repaint();
}

void SplineEditor::zoom_all() {
    bounder& b = bounds_of_view;
    b.min_x = b.fmin_x;
    b.max_x = b.fmax_x;
    b.min_y = b.fmin_y;
    b.max_y = b.fmax_y;
    b.vmin_x = 0;
    b.vmax_x = 1;
    b.vmin_y = 0;
    b.vmax_y = 1;
    // The editor's plot always keeps its proportions: the view centres on the turning axis.
    const double half = (b.max_x - b.min_x) * thegrita_.grbounds.aspect / 2;
    b.min_y = spline_pnts_.job.draaias - half;
    b.max_y = spline_pnts_.job.draaias + half;
    set_windows(b.min_x, b.min_y, b.max_x, b.max_y);
    host_.clear_bitmap();
    repaint();
}

void SplineEditor::zoom_spline() {
    const double axis = host_.turn_axis_field();
    TBetaSPLpoints& set = current();
    // The lowest point of the last gradient calculation and its mirror about the axis.
    const double ymin = set.YminY;
    const double ymax = static_cast<float>(ymin + (axis - ymin) * 2);
    set_windows(set.XminX, ymin, set.XmaxX, ymax);
    repaint();
}

void SplineEditor::zoom_beam() {
    TBetaSPLpoints& profile = spline_pnts_.profile;
    // Without two points the profile has no length to show.
    if (profile.Nopoints < 2)
        return;
    const double xmin = profile.X.Tomatch[0];
    const double xmax = profile.X.Tomatch[profile.Nopoints];
    set_windows(xmin, spline_pnts_.job.draaias - spline_pnts_.job.thickness, xmax,
                spline_pnts_.job.draaias + spline_pnts_.job.thickness);
    repaint();
}

void SplineEditor::add_point(PointF w) {
    const auto entered = dialogs_.point_dialog(format_general(w.x), format_general(w.y));
    if (entered)
        current().save_point(entered->Position_X, entered->Position_Y);
}

void SplineEditor::add_circle(PointF w) {
    const auto entered = dialogs_.circle_dialog(format_general(w.x), format_general(w.y));
    if (entered)
        current().circle(entered->Position_X, entered->Position_Y, entered->circle_diam,
                         entered->support_points);
}

void SplineEditor::change_weight(PointF w) {
    TBetaSPLpoints& spline = current();
    const int slot = spline.weight_slot(w.x, w.y);
    const auto entered = dialogs_.tens_bias_dialog(format_general(spline.alpha1[slot]),
                                                   format_general(spline.alpha2[slot]));
    if (entered)
        spline.changeWeight(slot, entered->Tension, entered->Bias);
}

}  // namespace ostrivane
