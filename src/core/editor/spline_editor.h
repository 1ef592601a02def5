#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/curve/profile_load.h"
#include "core/curve/recorded_moves.h"
#include "core/editor/bounder.h"
#include "core/editor/edit_history.h"
#include "core/editor/editor_dialogs.h"
#include "core/editor/editor_host.h"
#include "core/editor/editor_keys.h"
#include "core/plot/canvas.h"
#include "core/plot/tgrita.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane {

// The spline editor without its window: the view, the tool modes, the selection box, the
// recorded moves, and what every key and mouse click does to the two splines, with undo.
// The window feeds it events in plot pixels and shows what it asks for through EditorHost.
//
// The two splines are the drawing the engine turns (its `profile` and `spline2`); the current
// spline is the one the commands work on (`spline1` true: the profile).
class SplineEditor {
  public:
    using Engine = TGrad;
    enum class Tool { Add, Select, Zoom, Move };

    // A selection box in world millimetres, corners ordered.
    struct Box {
        float xmin = 0;
        float ymin = 0;
        float xmax = 0;
        float ymax = 0;
        bool degenerate() const { return xmin == xmax || ymin == ymax; }
    };

    // Draws with `thegrita` on the plot and sizes the bitmap mapping after `bitmap`; none of
    // them is owned.
    SplineEditor(Engine& engine, Tgrita& thegrita, Canvas& bitmap, EditorHost& host);
    SplineEditor(const SplineEditor&) = delete;
    SplineEditor& operator=(const SplineEditor&) = delete;

    Engine& engine() { return spline_pnts_; }
    // The dialogs that ask the operator for points, circles and shape values (not owned; null:
    // none). Both splines ask through the editor, which refuses what it cannot take.
    void set_dialogs(SplineDialogs* dialogs);
    TBetaSPLpoints& current() { return spline1 ? spline_pnts_.profile : spline_pnts_.spline2; }

    // --- view ------------------------------------------------------------------------------
    // Resets the view to the whole profile length centred on the turning axis `axis`, the
    // current spline to spline 1 and the recorded moves to none, and applies the view.
    void init_view(double axis);
    void apply_view();
    // After the plot or the bitmap changed size: both mappings re-fit their windows.
    void resized();
    // The two visualisation fields changed: the picture follows, the view stays.
    void set_turn_axis(double axis);
    void set_beam_thickness(double thickness);
    // The mouse wheel over the plot: the view grows (`factor` > 1) or shrinks about the plot
    // pixel (X, Y), whose world position stays under it. The view keeps a width between
    // kMinViewWidth and kMaxViewWidth.
    void wheel_zoom(float X, float Y, double factor);
    // The view fitted to the profile's points and the turning axis, with a little room around
    // them, for a profile opened by itself (from the desktop or the command line), which would
    // otherwise be a speck in the full view. The full view that zoom-all returns to stays.
    // Nothing changes for a profile of fewer than two points.
    void fit_profile();
    // Dragging with the middle button: the drawing follows the mouse from where the drag began.
    void pan_start(float X, float Y);
    void pan_to(float X, float Y);
    void pan_end() { pan_.reset(); }
    bool panning() const { return pan_.has_value(); }

    // --- spline program --------------------------------------------------------------------
    // Reads a spline file's sections into both splines and the moves; a file of 2 bytes or
    // less, or of another version, changes nothing. Spline 1 keeps at most 1000 points, and a
    // notice says how many the file held beyond them.
    void load_spline_file(std::string_view bytes);
    std::string spline_file() const;

    // --- commands --------------------------------------------------------------------------
    // A key with its modifiers; `pointer` is the mouse position in plot pixels when the pointer
    // is over the plot. Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo.
    void FormKeyDown(std::uint16_t Key, ShiftState Shift, std::optional<PointF> pointer);
    void choose_tool(Tool tool);
    // Removes every marked point of both splines and every marked part of spline 1.
    void cutbutClick();
    void PlotGrid1MouseDown(bool left_button, float X, float Y);
    void PlotGrid1MouseMove(float X, float Y);
    // Adds the points of an "x;y" text to spline 1 (one undo step); returns the points skipped
    // for the limit. Throws Error for a coordinate that is no number, keeping the points before.
    int import_points(std::string_view text);
    // The same for a file of either kind, an "x;y" text or a DXF drawing (by its name).
    int import_points(const std::filesystem::path& file, std::string_view bytes);

    // --- recorded moves --------------------------------------------------------------------
    // False when all 50 are taken (with a notice).
    bool add_move(double X, double Y);
    void delete_move();

    // --- picture ---------------------------------------------------------------------------
    // The plot's picture: the recorded moves, the selection box while one is drawn, both
    // splines with the axis and beam; one scene on the plot's canvas.
    void paint();
    void draw_moves();
    void draw_selection_box();
    void select_in_box();
    // The last box drawn, in world coordinates at the current mapping, ordered.
    Box take_box() const;
    static void order_corners(float& a, float& b, float& c, float& d);

    // --- undo ------------------------------------------------------------------------------
    bool undo();
    bool redo();
    const EditHistory& history() const { return history_; }
    EditorDocument document() const;
    // Forgets every step and takes the document as it is now as saved (after a load).
    void reset_history();
    // The document as it is now is what the files hold.
    void mark_saved();
    // The splines or moves differ from what was last loaded or saved.
    bool modified() const { return !(document() == saved_); }
    // The edits are discarded: the splines and moves return to what was last loaded or saved.
    void revert();

    // --- state -----------------------------------------------------------------------------
    bool add_point_but = false;
    bool select_but = false;
    bool draw_box = false;
    bool mov_but = false;
    bool zm_but = false;
    bool move = false;
    bool spline1 = true;
    bounder bounds_of_view;
    // The selection box's corners in plot pixels: the first click, and the mouse while drawing.
    float X_start = 0;
    float Y_start = 0;
    float X_nieuw = 0;
    float Y_nieuw = 0;
    // The moves of the drawing being edited.
    RecordedMoves& moves;

  private:
    class EditStep;
    friend class EditStep;

    void repaint() { host_.repaint(); }
    // The pointer in world millimetres, single precision as the mapping hands it out.
    PointF world(PointF pixel) const;
    bool below_point_limit() const;
    // Starting and ending a drag keeps the whole drag as one undo step.
    void set_move(bool on);
    void finish_drag();
    void restore(const EditorDocument& document);

    void zoom_box();
    void zoom_all();
    void zoom_spline();
    void zoom_beam();
    void switch_spline();
    void set_windows(double xmin, double ymin, double xmax, double ymax);
    // A view chosen with the mouse wheel or by dragging: the shown window and the view's range,
    // the simulation picture of the old view cleared.
    void show_window(double xmin, double ymin, double xmax, double ymax);
    void letter_command(char letter, std::optional<PointF> pointer);
    // The commands that ask a dialog first, preset from the pointer at `w` (world
    // coordinates), and edit the current spline with what the operator entered.
    void add_point(PointF w);
    void add_circle(PointF w);
    void change_weight(PointF w);

    Engine& spline_pnts_;
    Tgrita& thegrita_;
    Canvas& bitmap_;
    EditorHost& host_;
    EditHistory history_;
    EditorDocument saved_;
    std::optional<EditorDocument> drag_before_;
    EditorDialogs dialogs_;
    struct Pan {
        PointF from;     // the pixel where the drag began
        WindowRec view;  // the window shown then
    };
    std::optional<Pan> pan_;
};

// The narrowest and the widest view the mouse wheel gives, in millimetres across the plot.
inline constexpr double kMinViewWidth = 1;
inline constexpr double kMaxViewWidth = 400000;

}  // namespace ostrivane
