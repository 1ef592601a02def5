#include "core/editor/spline_editor.h"

#include "core/editor/edit_step.h"
#include "core/text/coordinate_format.h"

namespace ostrivane {

void SplineEditor::choose_tool(Tool tool) {
    add_point_but = tool == Tool::Add;
    select_but = tool == Tool::Select;
    zm_but = tool == Tool::Zoom;
    mov_but = tool == Tool::Move;
    draw_box = false;
    set_move(false);
    if (tool != Tool::Move)
        repaint();
}

void SplineEditor::cutbutClick() {
    {
        EditStep step(*this);
        for (TBetaSPLpoints* set : {&spline_pnts_.profile, &spline_pnts_.spline2}) {
            for (;;) {
                int marked = 0;
                while (marked < set->Nopoints && !set->selected[marked])
                    ++marked;
                if (marked == set->Nopoints)
                    break;
                set->destroy_point(marked + 1);
            }
        }
        for (;;) {
            int part = 1;
            while (part <= spline_pnts_.profile.NoParts &&
                   !spline_pnts_.profile.parts_selected[part])
                ++part;
            if (part > spline_pnts_.profile.NoParts)
                break;
            spline_pnts_.profile.destroy_part_part(static_cast<std::uint16_t>(part));
        }
    }
    repaint();
}

void SplineEditor::PlotGrid1MouseDown(bool left_button, float X, float Y) {
    if (!left_button)
        return;
    if (add_point_but) {
        const PointF w = world({X, Y});
        if (below_point_limit()) {
            EditStep step(*this);
            current().save_point(w.x, w.y);
        }
        repaint();
    } else if (select_but || (zm_but && !draw_box)) {
        if (draw_box) {
            select_in_box();
            repaint();
            select_but = false;
            draw_box = false;
        } else {
            // Nothing shows until the mouse moves and the box follows it. The box starts as the
            // clicked pixel, so a second click without a movement between gives an empty box
            // rather than one reaching to where an earlier box ended.
            X_start = X;
            Y_start = Y;
            X_nieuw = X;
            Y_nieuw = Y;
            draw_box = true;
        }
    } else if (zm_but) {
        const Box box = take_box();
        if (box.degenerate()) {
            thegrita_.GraphMessage("Selection box too small...", MessageSink::kRed, false);
        } else {
            bounds_of_view.min_x = box.xmin;
            bounds_of_view.max_x = box.xmax;
            bounds_of_view.min_y = box.ymin;
            bounds_of_view.max_y = box.ymax;
            set_windows(box.xmin, box.ymin, box.xmax, box.ymax);
            draw_box = false;
            zm_but = false;
        }
        repaint();
    } else if (mov_but) {
        const PointF w = world({X, Y});
        set_move(!move);
        current().SeekMove(w.x, w.y);
        repaint();
    }
}

void SplineEditor::PlotGrid1MouseMove(float X, float Y) {
    const PointF w = world({X, Y});
    if (draw_box) {
        X_nieuw = X;
        Y_nieuw = Y;
        repaint();
    }
    if (move) {
        current().movePoint(w.x, w.y);
        repaint();
    }
    host_.set_coordinate_labels("X " + format_coordinate(w.x) + " mm",
                                "Y " + format_coordinate(w.y) + " mm");
}

}  // namespace ostrivane
