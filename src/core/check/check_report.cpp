#include "core/check/check_report.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "core/check/run_time.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

std::string mm(double value) {
    return format_fixed(value, 3);
}

// Lengths in the JSON object: to a micrometre, far below any tolerance, so the text stays
// short and the same on every machine.
double micrometres(double value) {
    const double r = std::round(value * 1e6) / 1e6;
    return r == 0 ? 0.0 : r;
}

nlohmann::ordered_json deviation_json(const Deviation& d) {
    nlohmann::ordered_json j;
    j["max_mm"] = micrometres(d.max_mm);
    j["at_x"] =
        d.at_x ? nlohmann::ordered_json(micrometres(*d.at_x)) : nlohmann::ordered_json(nullptr);
    return j;
}

nlohmann::ordered_json slot_json(const DesignSlot& s) {
    return {{"left", micrometres(s.left)},
            {"right", micrometres(s.right)},
            {"depth", micrometres(s.depth)}};
}

std::string overcut_text(const Deviation& d, const char* largest = "") {
    return d.at_x ? largest + std::string("overcut ") + mm(d.max_mm) + " mm at x " + mm(*d.at_x)
                  : "no overcut";
}

std::string left_text(const Deviation& d, const char* largest = "") {
    return d.at_x
               ? largest + std::string("material left ") + mm(d.max_mm) + " mm at x " + mm(*d.at_x)
               : "no material left";
}

std::string capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

std::string interference_text(const Interference& i) {
    return "the saw outline meets the material at move " + std::to_string(i.move) + " (line " +
           std::to_string(i.line) + "), the saw at x " + mm(i.x) + ", y " + mm(i.y);
}

}  // namespace

int check_exit_code(const CheckReport& report) {
    if (report.cuts_into_design())
        return kCheckCutsIntoDesign;
    return report.has_moves() ? 0 : kCheckNoMove;
}

std::string_view kind_name(ProgramKind kind) {
    return kind == ProgramKind::turning ? "turning" : "finger joint";
}

std::string_view pass_name(PassKind pass) {
    switch (pass) {
        case PassKind::rough:
            return "rough";
        case PassKind::fast_rough:
            return "fast rough";
        case PassKind::fine:
            return "fine";
        case PassKind::finger_joint:
            return "finger joint";
        default:
            return "other";
    }
}

std::string check_verdict(const CheckReport& report) {
    std::string text =
        "Run time " + format_duration(report.run_time_s) + " (" + report.time_label + ")";
    if (report.interference)
        text += "; WARNING: " + interference_text(*report.interference);
    if (report.overcut.max_mm > report.tolerance) {
        text += "; WARNING: the program cuts " + mm(report.overcut.max_mm) +
                " mm into the design at x " + mm(*report.overcut.at_x);
    }
    if (!report.has_moves())
        text += "; the program makes no move";
    else if (!report.cuts_into_design())
        text += "; the cut keeps within " + mm(report.tolerance) + " mm of the design";
    return text;
}

namespace {

std::string slot_text(const SlotCut& s) {
    std::string text;
    if (s.cut) {
        text += "cut " + mm(s.cut->left) + " to " + mm(s.cut->right) + " mm, " + mm(s.cut->depth) +
                " deep";
    } else {
        text += "not cut";
    }
    if (s.expected) {
        text += " (designed " + mm(s.expected->left) + " to " + mm(s.expected->right) + ", " +
                mm(s.expected->depth) + " deep)";
    } else {
        text += " (not in the design)";
    }
    return text;
}

}  // namespace

std::vector<std::string> check_report_lines(const CheckReport& report, std::string_view program) {
    std::vector<std::string> lines;
    lines.reserve(report.slots.size() + 3);
    std::string text(program);
    if (!report.has_moves()) {
        // Nothing was cut, so there is nothing to measure against the design.
        text += ": " + std::string(kind_name(report.kind)) + " program of " +
                std::to_string(report.lines) + " lines and no move. Run time " +
                format_duration(report.run_time_s) + " (" + report.time_model + ").";
        lines.push_back(std::move(text));
        lines.emplace_back("Verdict: the program makes no move; there is nothing to check.");
        return lines;
    }
    text += ": " + std::string(kind_name(report.kind)) + " program of " +
            std::to_string(report.lines) + " lines and " + std::to_string(report.moves) +
            " moves. Run time " + format_duration(report.run_time_s) + " (" + report.time_model +
            "). " + capitalised(overcut_text(report.overcut, "largest ")) + "; " +
            left_text(report.left, "largest ") + ".";
    for (const PassDeviation& p : report.passes) {
        if (report.kind == ProgramKind::finger_joint)
            break;
        text += " " + capitalised(std::string(pass_name(p.pass))) +
                " pass: " + overcut_text(p.overcut) + ", " + left_text(p.left) + ".";
    }
    lines.push_back(std::move(text));
    if (report.slots_summarised) {
        // A long list: the count, and the slots not cut as designed.
        const std::size_t others = report.slot_count - report.slots_as_designed;
        lines.push_back("Slots: " + std::to_string(report.slot_count) + " in all, " +
                        std::to_string(report.slots_as_designed) + " cut as designed" +
                        (others == 0 ? "." : "; not as designed:"));
        const std::size_t more = others - std::min(others, report.slots.size());
        for (std::size_t k = 0; k < report.slots.size(); ++k) {
            const bool last = k + 1 == report.slots.size() && more == 0;
            lines.push_back(slot_text(report.slots[k]) + (last ? "." : ";"));
        }
        if (more > 0)
            lines.push_back("and " + std::to_string(more) + " more not as designed.");
    } else if (!report.slots.empty()) {
        lines.emplace_back("Slots:");
        for (std::size_t k = 0; k < report.slots.size(); ++k)
            lines.push_back(slot_text(report.slots[k]) + (k + 1 < report.slots.size() ? ";" : "."));
    }
    // The sentences after the slots, each starting with a blank.
    std::string tail;
    if (report.kind == ProgramKind::turning) {
        tail += report.interference
                    ? " " + capitalised(interference_text(*report.interference)) + "."
                    : " The saw outline stays clear of the material.";
    }
    if (report.cuts_into_design()) {
        tail += " Verdict: the program cuts into the design";
        if (report.overcut.max_mm > report.tolerance)
            tail += " (overcut beyond the tolerance of " + mm(report.tolerance) + " mm)";
        if (report.interference)
            tail += report.overcut.max_mm > report.tolerance ? " and its saw outline meets the work"
                                                             : " (its saw outline meets the work)";
        tail += ".";
    } else {
        tail += " Verdict: within the tolerance of " + mm(report.tolerance) + " mm.";
    }
    lines.push_back(tail.substr(1));
    return lines;
}

std::string check_paragraph(const CheckReport& report, std::string_view program) {
    std::string text;
    for (const std::string& line : check_report_lines(report, program)) {
        if (!text.empty())
            text += ' ';
        text += line;
    }
    return text;
}

std::string check_json(const CheckReport& report) {
    nlohmann::ordered_json j;
    j["kind"] = kind_name(report.kind);
    j["lines"] = report.lines;
    j["moves"] = report.moves;
    j["run_time_s"] = std::round(report.run_time_s * 1000) / 1000;
    j["time_model"] = report.time_model;
    j["overcut"] = deviation_json(report.overcut);
    j["left"] = deviation_json(report.left);
    j["passes"] = nlohmann::ordered_json::array();
    for (const PassDeviation& p : report.passes) {
        j["passes"].push_back({{"pass", pass_name(p.pass)},
                               {"overcut", deviation_json(p.overcut)},
                               {"left", deviation_json(p.left)}});
    }
    if (report.interference) {
        const Interference& i = *report.interference;
        j["interference"] = {
            {"move", i.move}, {"line", i.line}, {"x", micrometres(i.x)}, {"y", micrometres(i.y)}};
    } else {
        j["interference"] = nullptr;
    }
    if (report.slots_summarised) {
        // Only the slots not cut as designed are listed.
        j["slot_count"] = report.slot_count;
        j["slots_cut_as_designed"] = report.slots_as_designed;
    }
    j["slots"] = nlohmann::ordered_json::array();
    for (const SlotCut& s : report.slots) {
        nlohmann::ordered_json slot;
        if (s.cut) {
            slot = slot_json(*s.cut);
        } else {
            slot = {{"left", nullptr}, {"right", nullptr}, {"depth", nullptr}};
        }
        slot["expected"] = s.expected ? slot_json(*s.expected) : nlohmann::ordered_json(nullptr);
        j["slots"].push_back(slot);
    }
    j["envelope"] = nlohmann::ordered_json::array();
    for (const EnvelopeSample& e : report.envelope)
        j["envelope"].push_back({micrometres(e.x), micrometres(e.envelope)});
    return j.dump();
}

}  // namespace ostrivane
