#include "core/fingerjoint/fast_rec.h"

#include "core/text/number_format.h"

namespace ostrivane {
namespace {

// Blade and slot widths are compared with this much play, so a blade typed as exactly the
// slot width is not refused for the last digit.
constexpr double width_tolerance = 0.00001;

}  // namespace

bool Getdata(const FieldSource& fields, Operator& op, TfastRec& aFast_rec) {
    aFast_rec.start_positionX = validate_float(fields, "start_x");
    aFast_rec.start_positionY = validate_float(fields, "start_y");
    aFast_rec.start_positionZ = validate_float(fields, "start_z");
    aFast_rec.job_height = validate_float(fields, "jobheight");
    aFast_rec.width_of_cut = validate_float(fields, "cut_width");
    aFast_rec.depth_cut = validate_float(fields, "cut_depth");
    aFast_rec.width_of_pin = validate_float(fields, "Pin_width");
    aFast_rec.width_of_saw = validate_float(fields, "saw_width");
    aFast_rec.number_of_cuts = validate_integer(fields, "no_cuts");

    const TfastRec& r = aFast_rec;
    if (r.width_of_cut + width_tolerance < r.width_of_saw) {
        op.information("Saw width " + format_f(r.width_of_saw) + " is bigger than cut width " +
                       format_f(r.width_of_cut));
        return false;
    }
    if (r.width_of_saw < width_tolerance || r.width_of_cut < width_tolerance ||
        r.width_of_pin < width_tolerance || r.number_of_cuts <= 0) {
        op.information("Please do not enter numbers less than or equal zero");
        return false;
    }
    return true;
}

}  // namespace ostrivane
