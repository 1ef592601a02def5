#include "core/plot/canvas.h"

#include <algorithm>

namespace ostrivane {

RectF RectF::normalized() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

}  // namespace ostrivane
