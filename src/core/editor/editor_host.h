#pragma once
#include <string_view>

namespace ostrivane {

// What the editor's commands ask of the window that shows them. The window implements it over
// its widgets; the tests record the calls.
class EditorHost {
  public:
    virtual ~EditorHost() = default;
    // Schedules a repaint of the plot (the picture is drawn by SplineEditor::paint).
    virtual void repaint() = 0;
    // Clears the simulation bitmap to transparent: shading and drawn saws are gone.
    virtual void clear_bitmap() = 0;
    virtual void show_commands() = 0;
    // The two coordinate labels under the plot.
    virtual void set_coordinate_labels(std::string_view x, std::string_view y) = 0;
    virtual void set_cut_enabled(bool enabled) = 0;
    // The turn axis position as its field holds it now; throws Error when it is no number.
    virtual double turn_axis_field() = 0;
    // The shading of the profile (ALT S) and the turning job (F7); the bitmap is already clear.
    virtual void shade() = 0;
    virtual void calculate_for_milling() = 0;
};

}  // namespace ostrivane
