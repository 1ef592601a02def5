#include "core/scene/turning_drawer.h"

#include "core/plot/tgrita.h"
#include "core/scene/profile_drawing.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane {
namespace {
constexpr Argb kTransparent = 0x00000000u;
constexpr Argb kOutlineOrange = 0xFFFFA500u;
constexpr Argb kFineGreen = 0xFF90EE90u;
constexpr Argb kRoughBlue = 0xFF00008Bu;
// Far enough beyond the work that the blade's bars reach past any view.
constexpr double kBladeReach = 1000;
}  // namespace

TurningDrawer::TurningDrawer(Tgrita& grita, Canvas* bitmap, TGrad& engine)
    : grita_(grita), bitmap_(bitmap), engine_(engine) {}

void TurningDrawer::begin_job() {
    if (bitmap_ != nullptr && bitmap_->begin_scene()) {
        bitmap_->clear(kTransparent);
        bitmap_->end_scene();
    }
}

void TurningDrawer::turning_points_found() {
    draw_gradients(grita_, engine_.profile);
}

void TurningDrawer::slot_edge(double x, double y) {
    grita_.Marker(x, y, "+", kCurveRed);
}

CurvePoint TurningDrawer::fine_spacing() const {
    double pixX = 0;
    double pixY = 0;
    grita_.PixelLength(pixX, pixY);
    return {pixX * 3, pixY * 3};
}

void TurningDrawer::drawsaw(double i, double j, bool fine) {
    if (bitmap_ == nullptr)
        return;
    for (int k = 1; k <= engine_.count_saw_rec; ++k) {
        const SawRec& r = engine_.saw_rec[k];
        grita_.Drawbar(*bitmap_, i + r.x1, j + r.y1, i + r.x2, j + r.y2, kOutlineOrange);
    }
    const Argb blade = fine ? kFineGreen : kRoughBlue;
    grita_.Drawbar(*bitmap_, i, -kBladeReach, i + engine_.profile.mill_width, j, blade);
    // The same cut seen on the far side of the turning axis.
    grita_.Drawbar(*bitmap_, i, kBladeReach, i + engine_.profile.mill_width,
                   2 * engine_.job.draaias - j, blade);
}

}  // namespace ostrivane
