#include "core/toolpath/spline_rec.h"

namespace ostrivane {

TsplineRec read_job_settings(const FieldSource& fields) {
    TsplineRec r;
    r.mill_width = validate_float(fields, "Ssaw_width");
    r.ssjobheight = validate_float(fields, "Sjobheight");
    r.Noruns = validate_integer(fields, "runsdepth");
    r.heightDivisor = validate_integer(fields, "runsheight");
    r.ssrepeater = validate_integer(fields, "repeater");
    r.RoughDelayer = validate_float(fields, "delaystep");
    r.StartZ = validate_float(fields, "PositionZ");
    r.zoeting = fields.checked("Sanding");
    r.ssDoublet = fields.checked("doublet");
    r.ssrough = fields.checked("Roughing");
    r.ssmatch1 = fields.checked("match1");
    r.ssmatch2 = fields.checked("match2");
    r.ssteps_mm_x = validate_float(fields, "resolution");
    r.sZoetfeed = validate_float(fields, "finemillfeed");
    r.sHomefeed = validate_float(fields, "homefeed");
    r.sNormalfeed = validate_float(fields, "normfeed");
    return r;
}

}  // namespace ostrivane
