#include "core/planner/plan_json.h"

#include <cmath>

#include "core/planner/plank_plan.h"
#include "core/text/json_text.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

std::string number(double value) {
    return std::isfinite(value) ? format_shortest(value) : "null";
}

std::string window_json(const PageWindow& w) {
    return "[" + number(w.xmin) + "," + number(w.ymin) + "," + number(w.xmax) + "," +
           number(w.ymax) + "]";
}

const char* boolean(bool b) {
    return b ? "true" : "false";
}

}  // namespace

std::string json_string(std::string_view text) {
    return json_quoted(text);
}

std::string plan_json(const PlankPlan& plan) {
    const PlankList& list = plan.list;
    std::string out = "{\"plank_list\":{\"D\":" + number(list.D) +
                      ",\"N\":" + std::to_string(list.N) + ",\"entries\":[";
    for (std::size_t i = 0; i < list.entries.size(); ++i)
        out += (i > 0 ? "," : "") + json_string(list.entries[i]);
    out += "]},\"plank\":{\"entry\":" + std::to_string(plan.plank.entry) +
           ",\"k\":" + std::to_string(plan.plank.k) + ",\"c\":" + number(plan.plank.c) + "}";
    out += ",\"outline\":[";
    const TBetaSPLpoints& outline = plan.planspline;
    for (int k = 0; k < outline.Nopoints; ++k) {
        out += (k > 0 ? ",[" : "[") + number(outline.X.Tomatch[k]) + "," +
               number(outline.Y.Tomatch[k]) + "]";
    }
    const PlanSizing& s = plan.sizing;
    out += "],\"sizing\":{\"SizeX\":" + number(s.SizeX) + ",\"SizeY\":" + number(s.SizeY) +
           ",\"SizeWidth\":" + number(s.SizeWidth) + ",\"SizeHeight\":" + number(s.SizeHeight) +
           ",\"DP_mm\":" + number(s.DP_mm) + ",\"scale\":" + number(s.scale) +
           ",\"use_width\":" + boolean(s.use_width) + ",\"use_height\":" + boolean(s.use_height) +
           "},\"pages\":[";
    for (std::size_t i = 0; i < plan.layout.pages.size(); ++i) {
        const PlanPage& p = plan.layout.pages[i];
        out += (i > 0 ? ",{\"q\":" : "{\"q\":") + std::to_string(p.q) +
               ",\"window\":" + window_json(p.window) + ",\"texts\":[";
        const std::vector<std::string> texts = plan.texts(p.q);
        for (std::size_t t = 0; t < texts.size(); ++t)
            out += (t > 0 ? "," : "") + json_string(texts[t]);
        out += "]}";
    }
    out += "],\"preview\":[";
    for (std::size_t j = 0; j < plan.layout.preview.size(); ++j) {
        out += (j > 0 ? ",{\"j\":" : "{\"j\":") + std::to_string(j) +
               ",\"window\":" + window_json(plan.layout.preview[j]) + "}";
    }
    return out + "]}";
}

}  // namespace ostrivane
