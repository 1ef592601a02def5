#include "core/planner/plan_form_fields.h"

#include <array>

namespace ostrivane {
namespace {

using K = ComponentKind;

constexpr std::array kComponents = {
    ComponentSpec{"VertScrollBox1", K::Other},
    ComponentSpec{"PlotGrid1", K::Other},
    ComponentSpec{"Image1", K::Picture},
    ComponentSpec{"errlabel", K::Caption, ""},
    ComponentSpec{"col_an", K::Other},
    ComponentSpec{"LabelX", K::Caption, "X:"},
    ComponentSpec{"LabelY", K::Caption, "Y:"},
    ComponentSpec{"Button1", K::Button, "Done"},
    ComponentSpec{"GroupBox1", K::Caption, "Calculation settings"},
    ComponentSpec{"beamthick", K::Field, "Plank thickness (mm)", "18"},
    ComponentSpec{"margin", K::Field, "Diameter margin (mm)", "10"},
    ComponentSpec{"Calculate", K::Button, "Calculate"},
    ComponentSpec{"PlankList", K::ListBox},
    ComponentSpec{"PageCombo", K::Selector},
};

}  // namespace

std::span<const ComponentSpec> plan_window_components() {
    return kComponents;
}

}  // namespace ostrivane
