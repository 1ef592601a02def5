#pragma once

namespace ostrivane {

// The editor's view: the viewport as fractions of the plot, the full view that zoom-all
// returns to, and the world window shown now (millimetres).
struct bounder {
    double vmin_x = 0;
    double vmax_x = 1;
    double vmin_y = 0;
    double vmax_y = 1;
    double fmin_x = 0;
    double fmax_x = 1500;
    double fmin_y = 0;
    double fmax_y = 300;
    double min_x = 0;
    double max_x = 1500;
    double min_y = 0;
    double max_y = 300;
};

}  // namespace ostrivane
