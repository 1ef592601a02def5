#pragma once
#include <string>
#include <string_view>

namespace ostrivane {

class PlankPlan;

// The whole plan as one line of JSON: the plank list, the chosen plank, the outline, the sizes,
// the printed pages with their windows and text lines, and the preview windows. Numbers are in
// their shortest round-trip form.
std::string plan_json(const PlankPlan& plan);

// `text` as a JSON string (see json_quoted: a stray Latin-1 byte still gives valid UTF-8).
std::string json_string(std::string_view text);

}  // namespace ostrivane
