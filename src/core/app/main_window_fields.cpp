#include "core/app/main_window_fields.h"

#include <array>

#include "core/app/version.h"

namespace ostrivane {
namespace {

using K = ComponentKind;

constexpr std::array kComponents = {
    ComponentSpec{"HeaderToolBar", K::Other},
    ComponentSpec{"ToolBarLabel", K::Caption, "Ostrivane"},
    ComponentSpec{"TabControl1", K::Other},
    ComponentSpec{"TabItem1", K::Caption, "3-axis finger joint"},
    ComponentSpec{"VertScrollBox1", K::Other},
    ComponentSpec{"write_tnd", K::Button, "write .tnd file"},
    ComponentSpec{"saw_width", K::Field, "Saw width (mm)", "3.2"},
    ComponentSpec{"no_cuts", K::Field, "Number of cuts", "2"},
    ComponentSpec{"Pin_width", K::Field, "Pin width (mm)", "10"},
    ComponentSpec{"cut_width", K::Field, "Cut width (mm)", "10"},
    ComponentSpec{"write_mot", K::Button, "Write GCODE file"},
    ComponentSpec{"start_y", K::Field, "Start position Y (mm)", "0"},
    ComponentSpec{"start_x", K::Field, "Start position X (mm)", "0"},
    ComponentSpec{"mot_name", K::Field, "GCODE Filename", "Karvik"},
    ComponentSpec{"jobheight", K::Field, "Job height (mm)", "3.2"},
    ComponentSpec{"start_z", K::Field, "Start position Z (mm)", "0"},
    ComponentSpec{"cut_depth", K::Field, "Cut depth (mm)", "10"},
    ComponentSpec{"StyleBook1", K::Other},
    ComponentSpec{"loadbut", K::Button, "Load Program"},
    ComponentSpec{"SaveProg", K::Button, "Save Program"},
    ComponentSpec{"ImageControl1", K::Picture},
    ComponentSpec{"TabItem2", K::Caption, "Dynamic turning"},
    ComponentSpec{"VertScrollBox2", K::Other},
    ComponentSpec{"Smot_name", K::Field, "GCODE Filename", "Karvik"},
    ComponentSpec{"Ssaw_width", K::Field, "Saw width (mm)", "4.5"},
    ComponentSpec{"Sjobheight", K::Field, "Job height (mm)", "3.2"},
    ComponentSpec{"runsdepth", K::Field, "Runs to full depth", "1"},
    ComponentSpec{"runsheight", K::Field, "Runs to full height", "1"},
    ComponentSpec{"delaystep", K::Field, "Delay at each step (msec.)", "3.2"},
    ComponentSpec{"GroupBox1", K::Caption, "Rough and Fine turning"},
    ComponentSpec{
        "Roughing", K::CheckBox, "Do the rough task (results in stepped surface)", {}, true},
    ComponentSpec{"Sanding", K::CheckBox, "Do the fine task (results in smooth surface)"},
    ComponentSpec{"doublet", K::CheckBox, "Use a second spline + TND file"},
    ComponentSpec{"UseTND", K::CheckBox, "Use TND file"},
    ComponentSpec{"repeater", K::Field, "Repeat the job", "1"},
    ComponentSpec{"PositionZ", K::Field, "Start Position Z (mm)", "1"},
    ComponentSpec{"loadtnd", K::Button, "Load .tnd file"},
    ComponentSpec{"GroupBox2", K::Caption, "Spline matching"},
    ComponentSpec{"match1", K::CheckBox, "match spline 1", {}, true},
    ComponentSpec{"match2", K::CheckBox, "Match spline 2", {}, true},
    ComponentSpec{"DrawSpline", K::Button, "Edit the splines"},
    ComponentSpec{"Loadsplineprog", K::Button, "Load program"},
    ComponentSpec{"Savesplineprog", K::Button, "Save program"},
    ComponentSpec{"resolution", K::Field, "Spline samples/mm", "1000"},
    ComponentSpec{"createplan", K::Button, "Create saw plans"},
    ComponentSpec{"TabItem3", K::Caption, "Settings"},
    ComponentSpec{"VertScrollBox3", K::Other},
    ComponentSpec{"VertScrollBox5", K::Other},
    ComponentSpec{"VertScrollBox6", K::Other},
    ComponentSpec{"write_log", K::CheckBox, "Write log to file on hard disk"},
    ComponentSpec{"Write_log_screen", K::CheckBox, "Write log to screen"},
    ComponentSpec{"GroupBox3", K::Caption, "Feedrates"},
    ComponentSpec{"finemillfeed", K::Field, "Fine milling feedrate (mm/sec.)", "4.5"},
    ComponentSpec{"homefeed", K::Field, "Homing feedrate (mm/sec.)", "4.5"},
    ComponentSpec{"normfeed", K::Field, "Normal feedrate (mm/sec.)", "4.5"},
    ComponentSpec{"GroupBox4", K::Caption, "GCode Axis mapping"},
    ComponentSpec{"Label1", K::Caption, "Ostrivane axis"},
    ComponentSpec{"GcodeX", K::Selector, {}, "X"},
    ComponentSpec{"GCodeY", K::Selector, {}, "Y"},
    ComponentSpec{"GCodeZ", K::Selector, {}, "Z"},
    ComponentSpec{"GCodeW", K::Selector, {}, "W"},
    ComponentSpec{"Label2", K::Caption, "X-axis"},
    ComponentSpec{"Label3", K::Caption, "Y-axis"},
    ComponentSpec{"Label4", K::Caption, "Z-axis"},
    ComponentSpec{"Label5", K::Caption, "W-axis"},
    ComponentSpec{"Label6", K::Caption, "GCode axis"},
    ComponentSpec{"Label7", K::Caption, "="},
    ComponentSpec{"Label9", K::Caption, "="},
    ComponentSpec{"Label10", K::Caption, "="},
    ComponentSpec{"Label8", K::Caption, "="},
    ComponentSpec{"InvertX", K::CheckBox, "Invert X"},
    ComponentSpec{"InvertY", K::CheckBox, "Invert Y"},
    ComponentSpec{"InvertZ", K::CheckBox, "Invert Z"},
    ComponentSpec{"InvertW", K::CheckBox, "Invert W"},
    ComponentSpec{"SaveSet", K::Button, "Save Settings"},
    ComponentSpec{"GroupBox5", K::Caption, "Folder settings"},
    ComponentSpec{"GcodeFolder", K::Field, "GCode files folder", ""},
    ComponentSpec{"TabItem4", K::Caption, "About"},
    ComponentSpec{"Label11", K::Caption, "Ostrivane"},
    ComponentSpec{"Label12", K::Caption, "Finger joints and dynamic turning for a CNC saw bench"},
    ComponentSpec{"Label13", K::Caption, "Made by the Ostrivane developers"},
    ComponentSpec{"Version", K::Caption, version_caption},
    ComponentSpec{"Image1", K::Picture},
    ComponentSpec{"TabItem5", K::Caption, "Log"},
    ComponentSpec{"VertScrollBox4", K::Other},
    ComponentSpec{"GroupBox8", K::Caption, "Non-critical log"},
    ComponentSpec{"LogMemo", K::Memo},
    ComponentSpec{"GroupBox9", K::Caption, "Critical Information"},
    ComponentSpec{"Critmemo", K::Memo},
    ComponentSpec{"OpenDialog1", K::Other},
    ComponentSpec{"SaveDialog1", K::Other},
    ComponentSpec{"OpenTNDDialog", K::Other},
    ComponentSpec{"PrintDialog", K::Other},
};

}  // namespace

std::span<const ComponentSpec> main_window_components() {
    return kComponents;
}

const ComponentSpec* find_main_window_component(std::string_view name) {
    for (const ComponentSpec& c : kComponents) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

}  // namespace ostrivane
