#pragma once
#include "core/plot/canvas.h"
#include "core/toolpath/turning_view.h"

namespace ostrivane {

class Tgrita;
class TGrad;

// The turning simulation: every saw of a calculation drawn on the simulation bitmap (its
// outline from "saw_def.txt", the blade up to its top, and the same cut mirrored beyond the
// turning axis), the turning points and slot edges marked on the plot surface.
class TurningDrawer final : public TurningView {
  public:
    // None is owned; all must outlive the drawer. Without a bitmap no saw is drawn.
    TurningDrawer(Tgrita& grita, Canvas* bitmap, TGrad& engine);

    void begin_job() override;
    void turning_points_found() override;
    void saw(double x, double top, bool fine) override { drawsaw(x, top, fine); }
    void slot_edge(double x, double y) override;
    // One fine saw per three pixels of travel keeps the picture light.
    CurvePoint fine_spacing() const override;

    // The saw with its left edge at i and its top at j.
    void drawsaw(double i, double j, bool fine);

  private:
    Tgrita& grita_;
    Canvas* bitmap_;
    TGrad& engine_;
};

}  // namespace ostrivane
