#pragma once

#include "core/planner/plan_sizing.h"

class QPrinter;

namespace ostrivane {

// Sets the printer to 100 x 100 dots per inch and portrait, then reads its printable page in
// dots and its resolution. Portrait comes first, so the size read is the size printed on.
PrinterPage prepare_printer(QPrinter& printer);

}  // namespace ostrivane
