#pragma once
#include <cstdint>

#include "core/curve/offset_array.h"

namespace ostrivane {

// One recorded position of the editor, in millimetres.
struct MovePosition {
    double X = 0;
    double Y = 0;
};

// The editor's recorded moves, numbered 1 … Movecount.
struct RecordedMoves {
    static constexpr int kMaxMoves = 50;
    std::int32_t Movecount = 0;
    OffsetArray<MovePosition, 1, kMaxMoves> Movements;
};

}  // namespace ostrivane
