#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/check/cut_check.h"

namespace ostrivane {

// The exit code of a check: 0 when the program keeps within the tolerance and nothing meets
// the work, 3 when it cuts into the design or its saw outline meets the material, 1 when it
// makes no move (nothing could be judged).
inline constexpr int kCheckCutsIntoDesign = 3;
inline constexpr int kCheckNoMove = 1;
int check_exit_code(const CheckReport& report);

// "turning", "finger joint"; "rough", "fast rough", "fine", "finger joint".
std::string_view kind_name(ProgramKind kind);
std::string_view pass_name(PassKind pass);

// The report as one paragraph for a person, naming the program as `program`.
std::string check_paragraph(const CheckReport& report, std::string_view program);
// The paragraph's words as lines, for a window that scrolls through them: the sentences before
// the slots, "Slots:" and one line per slot, then the sentences after them. Joined with blanks,
// they are the paragraph.
std::vector<std::string> check_report_lines(const CheckReport& report, std::string_view program);
// The short verdict for a status line: run time, and what is wrong if anything.
std::string check_verdict(const CheckReport& report);
// The report as one JSON object (one line): kind, lines, moves, run_time_s, time_model,
// overcut, left, passes, interference, slots, envelope. Lengths are rounded to a micrometre.
std::string check_json(const CheckReport& report);

}  // namespace ostrivane
