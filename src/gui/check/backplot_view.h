#pragma once
#include <QRectF>
#include <QWidget>
#include <cstddef>
#include <vector>

#include "core/check/job_check.h"
#include "gui/check/backplot_moves.h"

namespace ostrivane::gui {

// What a checked program cuts, drawn over its design: the design black, the envelope blue, the
// overcut (envelope above the design) red, the material left (below it) grey, the travel of the
// current move green and the saw at its end. y runs upwards, as the saw's top rises.
class BackplotView final : public QWidget {
    Q_OBJECT
  public:
    // `report` and `moves` stay with the caller and must outlive the view.
    BackplotView(const CheckReport& report, const std::vector<BackplotMove>& moves,
                 double saw_width, double face_y, QWidget* parent = nullptr);

    // Shows the saw after move `count` (0: where the program starts).
    void show_after(std::size_t count);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPointF to_pixel(double x, double y) const;

    const CheckReport& report_;
    const std::vector<BackplotMove>& moves_;
    double saw_width_;
    double face_y_;
    QRectF world_;  // x, y of everything drawn
    std::size_t current_ = 0;
};

}  // namespace ostrivane::gui
