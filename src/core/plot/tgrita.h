#pragma once
#include <array>
#include <functional>
#include <span>
#include <string_view>

#include "core/plot/canvas.h"
#include "core/plot/message_label.h"
#include "core/text/message_sink.h"

namespace ostrivane {

// Where the plot surface writes its messages: the program's log (message, critical).
using PlotLog = std::function<void(std::string_view message, bool critical)>;

// One world-to-pixel mapping: pixel x = AX * x + BX, pixel y = AY * y + BY (AY < 0, so world y
// grows upwards). Pixel edges are single precision.
struct GrafBounds {
    double aspect = 0;  // HeightSCR / WidthScr
    float WidthScr = 0;
    float HeightSCR = 0;
    double AX = 0;
    double BX = 0;
    double AY = 0;
    double BY = 0;
    float Top = 0;
    float Bottom = 0;
    float Right = 0;
    float Left = 0;
    // The viewport edges as fractions of HeightSCR / WidthScr, kept to re-fit after a resize.
    float perc_top = 0;
    float perc_bottom = 0;
    float perc_right = 0;
    float perc_left = 0;
};

// A world window in millimetres.
struct WindowRec {
    double xmi = 0;
    double ymi = 0;
    double xma = 0;
    double yma = 0;
};

// A stored screen mapping.
struct ViewRec {
    double AX = 0;
    double AY = 0;
    double BX = 0;
    double BY = 0;
    float Left = 0;
    float Bottom = 0;
    float Right = 0;
    float Top = 0;
    Argb box_color = 0;
    bool box_shown = false;
    WindowRec bounds;
    bool in_use = false;
};

// The plot surface: maps a window of world coordinates (millimetres, y up) onto the pixels of a
// plot control and, independently, of an off-screen bitmap (the _BMP side, whose primitives
// take the bitmap as an argument). Bad viewports and windows never throw: they go to the log as
// critical lines and the operation carries on.
//
// Calling order: SetViewport then SetWindow before drawing on the screen; SetViewport_BMP then
// SetWindow_BMP before drawing on a bitmap; resize / resize_BMP when the target changes size.
class Tgrita : public MessageSink {
  public:
    static constexpr int kViewSlots = 10;

    // `aplotgrid` is the plot control's canvas, `acol_an` its window's message label (may be
    // null: messages are then only logged), `ashow_reeel` keeps one world unit equally long on
    // both screen axes. Neither the canvas nor the label is owned.
    explicit Tgrita(Canvas& aplotgrid, MessageLabel* acol_an = nullptr, bool ashow_reeel = true,
                    PlotLog log = {});
    ~Tgrita() override = default;
    Tgrita(const Tgrita&) = delete;
    Tgrita& operator=(const Tgrita&) = delete;

    // --- mapping --------------------------------------------------------------------------
    // Re-derive the pixel viewport after the target changed size, then re-fit the last window.
    void resize(const Canvas& aplotgrid);
    void resize_BMP(const Canvas& abitmap);
    // Viewport as fractions (0 … 1) of the target, measured from its top-left corner. Takes
    // effect with the next SetWindow.
    void SetViewport(double xmin, double ymin, double xmax, double ymax);
    void SetViewport_BMP(int aWidth, int aHeight, double xmin, double ymin, double xmax,
                         double ymax);
    void SetWindow(double xmin, double ymin, double xmax, double ymax);
    // `aauto` lets the aspect-ratio guard correct this window (when show_reel is on).
    void SetWindow_BMP(double xmin, double ymin, double xmax, double ymax, bool aauto);

    // --- conversions (screen mapping) -------------------------------------------------------
    void ScreenCoords(double x, double y, float& xuit, float& yuit) const;
    void Coords(double x, double y, float& xuit, float& yuit) const;
    // World length of one screen pixel along x and y.
    void PixelLength(double& pixX, double& pixY) const;
    void GetboundsX(double& mi, double& ma) const;
    void GetboundsY(double& mi, double& ma) const;
    // Moves a point outside the screen window (edges count as inside) to the window's centre.
    void CheckIfInWindow(double& x, double& y) const;

    // --- view slots 1 … 10 ----------------------------------------------------------------
    // Saves the screen mapping in slot ViewID (0: the next number); returns the slot or 0 when
    // the number is out of range.
    int StoreView(int ViewID);
    // Restores the mapping of a slot (not its window); false for a free or unknown slot.
    bool UseView(int ViewID);

    // A fault of the surface: a critical log line, nothing else.
    void Error(std::string_view aMsg);

    // --- primitives ------------------------------------------------------------------------
    // Screen forms map with grbounds and draw on thecanvas; forms taking a bitmap map with
    // grbounds_BMP and draw on it. Point lists use elements 0 … n - 1 (never past their span).
    void DrawLine(double x1, double y1, double x2, double y2, Argb color);
    void DrawLine(float thickn, Canvas& aBitmap, double x1, double y1, double x2, double y2,
                  Argb color);
    // Radius AX * x2 pixels on both axes, so the circle stays round on screen.
    void Circle(double x1, double y1, double x2, Argb color);
    void Circle(Canvas& aBitmap, double x1, double y1, double x2, Argb color);
    void Polyline(std::span<const double> xPtr, std::span<const double> yPtr, int n, Argb color,
                  bool close_polygon);
    void Polyline_BMP(float thickn, Canvas& aBitmap, std::span<const double> xPtr,
                      std::span<const double> yPtr, int n, Argb color, bool close_polygon);
    void FillArea(std::span<const double> xPtr, std::span<const double> yPtr, int n, Argb color);
    // Filled rectangle; the corners may be given in either order.
    void Drawbar(double x1, double y1, double x2, double y2, Argb color);
    void Drawbar(Canvas& aBitmap, double x1, double y1, double x2, double y2, Argb color);
    // `mark` centred on the point.
    void Marker(double x, double y, std::string_view mark, Argb color);
    void Marker(Canvas& aBitmap, double x, double y, std::string_view mark, Argb color);
    // `s` with its top-left corner at the point (pixels when use_screen_coords). With
    // Col_animation nothing is drawn: the message label's fade is started instead.
    void GraphText(double x, double y, std::string_view s, Argb color, bool Col_animation,
                   bool use_screen_coords);
    void GraphText(Canvas& aBitmap, double x, double y, float size, std::string_view s, Argb color,
                   bool use_screen_coords);
    // Dashed outline between two pixel positions (no mapping).
    void Rectangle(float l, float t, float r, float b, Argb abox);
    // Dash and thickness (whole pixels) of later screen lines.
    void SetlineStyle(Dash dashtype, int thickn);
    // Not supported; logs a critical line.
    void WritePixel(int ix, int iy, Argb color);

    // Shows `Msg` on the message label, fades it in and out, and logs it. `color` is accepted
    // for the callers' sake; the label shows every message in its own red.
    void GraphMessage(std::string_view Msg, Argb color, bool critic);
    // Notices of the computations that draw here are its messages.
    using MessageSink::notice;
    void notice(const std::string& text, std::uint32_t colour, bool critical) override {
        GraphMessage(text, colour, critical);
    }

    // e^x, kept within 1e-38 … 1e38 for |x| >= 55.
    static double grit_expo(double x);

    // --- state -----------------------------------------------------------------------------
    Canvas* thecanvas;  // never null; not owned
    Argb BoxColor = 0;
    Path punt;  // reused by the path primitives
    bool VpFlag = false;
    bool VpFlag_BMP = false;
    int LastViewID = 0;
    std::array<ViewRec, kViewSlots> ViewRecArr{};  // slot k lives at index k - 1
    MessageLabel* col_an;                          // may be null; not owned
    bool show_reel;
    WindowRec WindowBounds;  // the screen window as corrected by the guard
    GrafBounds grbounds;
    GrafBounds grbounds_BMP;

  private:
    // The screen and the bitmap side share these; each passes its own bounds, flag and
    // messages.
    void open_viewport(GrafBounds& g, bool& placed, double xmin, double ymin, double xmax,
                       double ymax, std::string_view exceeds_message);
    bool open_window(GrafBounds& g, bool placed, WindowRec& w, bool guard,
                     std::string_view missing_message, std::string_view illegal_message);
    // Takes the target's new size and places the viewport on it again.
    void refit_viewport(GrafBounds& g, int width, int height, bool aspect_from_pixels);

    PlotLog log_;
};

}  // namespace ostrivane
