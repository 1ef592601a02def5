#include "gui/check/backplot_moves.h"

namespace ostrivane::gui {

void MoveRecorder::moved(std::size_t, const ProgramMove& move, const std::array<double, 4>& from,
                         const std::array<double, 4>& to, double seconds) {
    moves_.push_back(
        {from[0], from[1], to[0], to[1], seconds, move.line, move.move.kind == MoveKind::feed});
}

}  // namespace ostrivane::gui
