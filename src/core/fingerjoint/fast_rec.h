#pragma once
#include "core/app/field_source.h"
#include "core/app/operator.h"

namespace ostrivane {

// The finger-joint parameters: a row of equal slots separated by equal pins, sawn with a blade
// narrower than a slot. Lengths in mm.
struct TfastRec {
    double number_of_cuts = 0;   // slots, a whole number
    double width_of_saw = 0;     // blade thickness: the width of one pass
    double start_positionX = 0;  // sideways distance to the first slot
    double job_height = 0;       // Z travel of one pass
    double start_positionY = 0;
    double job_distance = 0;     // extra Y travel into and out of the work; no field sets it
    double start_positionZ = 0;  // applied downwards
    double depth_cut = 0;        // Y travel into the work
    double width_of_cut = 0;     // width of one slot
    double width_of_pin = 0;     // width of the pin between two slots
};

// Reads the finger-joint tab into `aFast_rec` and says whether the job can be cut. On false the
// operator has been told why. A field that is not a number throws its field error; the fields
// read before it are then already in the record.
bool Getdata(const FieldSource& fields, Operator& op, TfastRec& aFast_rec);

}  // namespace ostrivane
