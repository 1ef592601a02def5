#include "core/editor/editor_components.h"

#include <array>

namespace ostrivane {
namespace {
using K = ComponentKind;

constexpr std::array kComponents = {
    ComponentSpec{"Panel1", K::Other},
    ComponentSpec{"Button1", K::Button, "Done"},
    ComponentSpec{"Button2", K::Button, "Cancel"},
    ComponentSpec{"Button3", K::Button, "Show commands"},
    ComponentSpec{"SaveBut", K::Button, "Save"},
    ComponentSpec{"Import", K::Button, "Import"},
    ComponentSpec{"GroupBox1", K::Caption, "Visualisation"},
    ComponentSpec{"axispos", K::Field, "Turn axis position (mm)", "100"},
    ComponentSpec{"beamthick", K::Field, "Beam thickness (mm)", "100"},
    ComponentSpec{"ProgressBar1", K::ProgressBar},
    ComponentSpec{"ToolBar1", K::Other},
    ComponentSpec{"abut", K::Button, "Add spline points"},
    ComponentSpec{"cutbut", K::Button, "Removes selected items"},
    ComponentSpec{"zoombut", K::Button, "Zoom"},
    ComponentSpec{"movbut", K::Button, "Move"},
    ComponentSpec{"sbut", K::Button, "Select"},
    ComponentSpec{"PlotGrid1", K::Other},
    ComponentSpec{"sp_Image", K::Picture},
    ComponentSpec{"errlabel", K::Caption},
    ComponentSpec{"LabelX", K::Caption},
    ComponentSpec{"LabelY", K::Caption},
    ComponentSpec{"CalloutPanel1", K::Other},
    ComponentSpec{"Memo1", K::Memo},
    ComponentSpec{"Button5", K::Button, "Close command box"},
    ComponentSpec{"load_data_timer", K::Other},
    ComponentSpec{"OpenDialog1", K::Other},
};

constexpr std::array kCommands = {
    EditorCommand{"F1", "Show this command list"},
    EditorCommand{"F2, Shift+F2",
                  "Add point to spline (the profile goes below the turn axis, above Y 0)"},
    EditorCommand{"F3", "Zoom all / selected part"},
    EditorCommand{"Shift+F3", "Zoom current spline"},
    EditorCommand{"F4", "Destroy points in selection"},
    EditorCommand{"F5", "Scale spline into selection"},
    EditorCommand{"F6", "Specify fine milling area of spline"},
    EditorCommand{"F7", "Calculate for milling"},
    EditorCommand{"F8", "Weight on nearest point"},
    EditorCommand{"F9", "Move spline"},
    EditorCommand{"F10", "Mirror current spline"},
    EditorCommand{"F11", "Zoom to the beam"},
    EditorCommand{"F12, \"3D view\"", "The piece in 3D, and as the last program cuts it"},
    EditorCommand{"Tab", "Draw with more lines"},
    EditorCommand{"Shift+Tab", "Draw with less lines"},
    EditorCommand{"Esc", "Stop: the box, dragging, a shading or calculation"},
    EditorCommand{"Alt+A", "Work on spline 2 / spline 1"},
    EditorCommand{"Alt+C", "Make a circle"},
    EditorCommand{"Alt+D", "Add point at coordinate"},
    EditorCommand{"Alt+M", "Drag nearest point"},
    EditorCommand{"Alt+P", "Show moves"},
    EditorCommand{"Alt+Q", "Add a move"},
    EditorCommand{"Alt+R", "Delete move"},
    EditorCommand{"Alt+S", "Shading"},
    EditorCommand{"Alt+Z", "Swap around mean X"},
    EditorCommand{"Ctrl+Z", "Undo"},
    EditorCommand{"Ctrl+Shift+Z, Ctrl+Y", "Redo"},
    EditorCommand{"Mouse wheel", "Zoom about the pointer"},
    EditorCommand{"Middle button drag", "Move the view"},
};

}  // namespace

std::span<const ComponentSpec> editor_components() {
    return kComponents;
}

std::span<const EditorCommand> editor_commands() {
    return kCommands;
}

}  // namespace ostrivane
