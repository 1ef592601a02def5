#pragma once
#include <cstdint>

#include "core/app/field_source.h"

namespace ostrivane {

// The turning job's settings as the editor reads them from the "Dynamic turning" tab when it
// opens, handed to the engine field by field. The feedrates travel along for the editor's sake;
// the G-code writer reads its own from the fields at every line.
struct TsplineRec {
    double mill_width = 0;
    double ssjobheight = 0;
    double RoughDelayer = 0;
    double sZoetfeed = 0;
    double sHomefeed = 0;
    double sNormalfeed = 0;
    double StartZ = 0;
    double zaagdiep = 0;  // saw depth; nothing fills or reads it
    double ssteps_mm_x = 0;
    std::int32_t Noruns = 0;
    std::int32_t heightDivisor = 0;
    std::int32_t ssrepeater = 0;
    bool zoeting = false;
    bool ssrough = false;
    bool ssmatch1 = false;
    bool ssmatch2 = false;
    bool ssDoublet = false;
};

// Fills the record from the main window's fields. The run counts must be whole numbers, the
// rest real numbers; the first field that is not throws its field error.
TsplineRec read_job_settings(const FieldSource& fields);

}  // namespace ostrivane
