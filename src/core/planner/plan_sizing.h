#pragma once
#include "core/text/job_context.h"

namespace ostrivane {

class TBetaSPLpoints;

// The printer's printable page in dots and its resolution in dots per inch.
struct PrinterPage {
    double PW = 827;
    double PH = 1169;
    double dx = 100;
    double dy = 100;
};

// Size, orientation and scale of one plank's template on the printer's pages.
struct PlanSizing {
    double SizeX = 0;         // template length, mm
    double SizeY = 0;         // template height, mm
    double SizeWidth = 0;     // printable page width, mm
    double SizeHeight = 0;    // printable page height, mm
    double DP_mm = 0;         // printer dots per millimetre
    double scale = 1;         // the template is printed at 1 : scale, a whole number >= 1
    bool use_width = false;   // the template's length runs along the page width
    bool use_height = false;  // ... along the page height (x and y swap when drawn)
    // Where the template lies in profile coordinates: its x range and its lowest y.
    double XminX = 0;
    double XmaxX = 0;
    double y_low = 0;
};

// What a page may be. The resolution keeps a line a dot wide at least a few hundredths of a
// millimetre and at most a few tenths; the memory printing a page takes stays within
// kMaxPageMemoryBytes, whatever the page's size, and no side of the paper is longer than
// kMaxPaperMm. A page is printed as one image of 4 bytes a dot, which the PDF writer converts
// and compresses while it takes it in: about 9 to 10 bytes a dot in all, with the program itself
// (measured with pages of 4096, 5150 and 8192 dots square), counted here as kPrintBytesPerDot.
// A4 at 600 dpi, the finest page a printer gives when asked for 100 dpi, takes some 370 MB.
inline constexpr double kMinPrinterDpi = 10;
inline constexpr double kMaxPrinterDpi = 2400;
inline constexpr double kPrintBytesPerDot = 11;
inline constexpr double kMaxPageMemoryBytes = 512.0 * 1024 * 1024;
inline constexpr double kMaxPaperMm = 10000;

// Throws Error, before anything is drawn or written, unless the page is a whole number of dots
// each way, its resolution lies from kMinPrinterDpi to kMaxPrinterDpi in both directions, its
// printing fits kMaxPageMemoryBytes and its paper kMaxPaperMm.
void check_printer_page(const PrinterPage& page);

// Sizes the template whose outline `planspline` holds (its turning points are computed, for
// its lowest y), with `extra_margin` millimetres of extra height. The lowest stored outline point
// counts too, so an outline that falls steeply at its start is not clipped. Throws Error for an
// outline of fewer than two points, a size that is not finite, or a walk that fails.
PlanSizing size_plan(TBetaSPLpoints& planspline, double turning_axis_y, double extra_margin,
                     const PrinterPage& page, JobContext& job);

// Orientation and scale for a template `SizeY` mm high on the page (steps that need no curve).
void orient(PlanSizing& sizing, const PrinterPage& page);

}  // namespace ostrivane
