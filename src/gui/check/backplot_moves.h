#pragma once
#include <array>
#include <cstddef>
#include <vector>

#include "core/check/job_check.h"

namespace ostrivane::gui {

// One move of a checked program as the backplot steps through it: where the saw's left edge
// and top stood before and after it (program X and Y, from where the program started), its
// line, whether it fed, and the run time up to its end.
struct BackplotMove {
    double x0 = 0;
    double y0 = 0;
    double x1 = 0;
    double y1 = 0;
    double seconds = 0;
    std::size_t line = 0;
    bool feed = false;
};

// Keeps every move the check follows.
class MoveRecorder final : public CheckObserver {
  public:
    void moved(std::size_t number, const ProgramMove& move, const std::array<double, 4>& from,
               const std::array<double, 4>& to, double seconds) override;

    std::vector<BackplotMove> take() { return std::move(moves_); }

  private:
    std::vector<BackplotMove> moves_;
};

}  // namespace ostrivane::gui
