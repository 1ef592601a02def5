#pragma once
#include <filesystem>
#include <string>

namespace ostrivane {

struct PlanDrawing;

// The plank templates as a DXF drawing (AutoCAD 2000, ASCII) in millimetres ($INSUNITS 4), at
// 1:1: each plank on a layer named after its list entry, as one closed LWPOLYLINE with its
// number and the program name as TEXT; the turning axes (LINE) and the 100 mm scale bar (LINEs
// and its TEXT) on a layer of their own. Written with dxflib; numbers in the shortest form that
// reads back to the same double, whatever the process locale.
std::string plan_dxf(const PlanDrawing& drawing);

// plan_dxf through the program's atomic save. Throws Error naming the file.
void write_plan_dxf(const std::filesystem::path& file, const PlanDrawing& drawing);

inline constexpr const char* kAxisLayerName = "Turning axis and scale bar";

}  // namespace ostrivane
