#pragma once

namespace ostrivane {

// One turning point of the profile and the saw position the turning engine places on it.
struct gradient_rec {
    double depth = 0;
    double positionX = 0;   // x of the first sample after the turn
    bool positive = false;  // the profile rises after the turn
    double positionXleft = 0;
    double positionYleft = 0;
};

}  // namespace ostrivane
