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

constexpr std::array<std::string_view, 12> kCommandLines = {
    "TAB        = Draw with more lines        SHIFT TAB= Draw with less lines",
    "F2          = Add point to spline            ESC          = Stop",
    "F3           = Zoom all/ selected part     F4            = Destroy points in selection",
    "F5           = Scale spline into selection F6            = specify fine milling area of "
    "spline",
    "F7           = Calculate for milling           F8           = weight on nearest point",
    "F9           = Move spline                       F10         = Mirror current spline.",
    "SHIFT F2 = Aspect ratio guard            SHIFT F3 = Zoom current spline",
    "ALT A      = Work on spline 2               ALT S       = Shading",
    "ALT M     = Drag nearest point            ALT Q       = Add a move",
    "ALT P     = Show moves                       ALT R       = Delete move",
    "ALT C     = Make a circle                      ALT Z        = swap around mean X",
    "ALT D     = Add point at coordinate",
};

}  // namespace

std::span<const ComponentSpec> editor_components() {
    return kComponents;
}

std::span<const std::string_view> editor_command_lines() {
    return kCommandLines;
}

}  // namespace ostrivane
