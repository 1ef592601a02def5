#include "core/planner/page_layout.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "core/text/error.h"
#include "core/text/number_format.h"

namespace ostrivane {

PageWindow segment_window(const PlanSizing& s, const PrinterPage& page, double extra_margin,
                          double W, int j) {
    const double x_from = s.XminX + j * W;
    const double x_to = s.XminX + (j + 1) * W;
    // Each page keeps the paper's proportions.
    const double y_from = s.y_low - extra_margin / 2;
    const double y_to = y_from + (s.use_height ? W * page.PW / page.PH : W * page.PH / page.PW);
    if (s.use_height)
        return {y_from, x_from, y_to, x_to};
    return {x_from, y_from, x_to, y_to};
}

PlanLayout layout_pages(const PlanSizing& s, const PrinterPage& page, double extra_margin) {
    PlanLayout layout;
    layout.L = s.use_height ? s.SizeHeight : s.SizeWidth;
    layout.W = layout.L * s.scale;
    // A template of exactly P page lengths fits on P pages; an empty page is never printed.
    const double pages = std::max(1.0, std::ceil(s.SizeX / s.scale / layout.L));
    if (!(pages <= kMaxPlanPages)) {
        throw Error("The plank template would need " + format_general(pages) +
                    " pages, more than the " + std::to_string(kMaxPlanPages) +
                    " a plan is printed on");
    }
    layout.P = static_cast<int>(pages);
    for (int q = 1; q <= layout.P; ++q) {
        PlanPage p;
        p.q = q;
        p.segment = s.use_height ? layout.P - q : q - 1;
        p.x_from = s.XminX + p.segment * layout.W;
        p.x_to = s.XminX + (p.segment + 1) * layout.W;
        p.window = segment_window(s, page, extra_margin, layout.W, p.segment);
        layout.pages.push_back(p);
    }
    for (int j = 0; j < layout.P; ++j)
        layout.preview.push_back(segment_window(s, page, extra_margin, layout.W, j));
    return layout;
}

std::vector<std::string> page_texts(int q, const PageCaption& c) {
    std::vector<std::string> lines;
    if (c.plank) {
        lines.push_back("Page: " + format_general(q) + " ,Plank: " + *c.plank +
                        " . Plank Thickness: " + c.thickness_text);
    }
    lines.push_back("Ostrivane output: " + c.date + " ,Scale: 1:" + format_general(c.scale) +
                    " ,Name: " + c.name);
    lines.push_back("turn axis distance: " + format_general(c.turning_axis_y) +
                    " ,Diameter margin: " + c.margin_text);
    return lines;
}

std::string short_date_today() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr)
        return "00/00/0000";
    const auto two = [](int v) {
        return std::string(1, static_cast<char>('0' + v / 10 % 10)) +
               static_cast<char>('0' + v % 10);
    };
    const int year = local->tm_year + 1900;
    return two(local->tm_mday) + "/" + two(local->tm_mon + 1) + "/" + two(year / 100) +
           two(year % 100);
}

}  // namespace ostrivane
