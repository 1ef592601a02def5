#pragma once
#include <filesystem>
#include <string>

namespace ostrivane {

struct PlanDrawing;

// The plank templates as an SVG drawing at 1:1: its width and height are given in millimetres
// and its viewBox counts millimetres from the drawing's top-left corner, so a laser cutter or a
// plotter reproduces every length. Each plank is a group (an Inkscape layer) named after its
// list entry, holding its closed outline and its two text lines; the turning axes and the
// 100 mm scale bar are a group of their own. Drawn through Qt's SVG generator, whose numbers
// keep six significant digits: within 0.005 mm for drawings up to 10 m. Creates the GUI
// application object when the process has none. Throws Error.
std::string plan_svg(const PlanDrawing& drawing, const std::string& title);

// plan_svg through the program's atomic save. Throws Error naming the file.
void write_plan_svg(const std::filesystem::path& file, const PlanDrawing& drawing,
                    const std::string& title);

// The group names: a plank's list entry made an XML name ("2 times plank2" gives
// "2_times_plank2" as id, the entry itself as label), and the axis group's.
std::string svg_group_id(const std::string& name);
inline constexpr const char* kAxisGroupName = "Turning axis and scale bar";

}  // namespace ostrivane
