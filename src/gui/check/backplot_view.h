#pragma once
#include <QColor>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <vector>

#include "core/check/job_check.h"
#include "gui/check/backplot_moves.h"

class QPainter;

namespace ostrivane::gui {

// Round values (1, 2 or 5 times a power of ten apart) from `lo` to `hi`, at most about
// `at_most` of them, for the marks of a millimetre scale.
std::vector<double> scale_marks(double lo, double hi, int at_most);

// What a checked program cuts, drawn over its design: the design black, the envelope blue, the
// overcut (envelope above the design) red, the material left (below it) grey, the travel of the
// current move green and the saw at its end. y runs upwards, as the saw's top rises. Millimetre
// scales along both axes, their titles and a legend are drawn around the plot.
class BackplotView final : public QWidget {
    Q_OBJECT
  public:
    struct LegendEntry {
        QColor colour;
        QString colour_name;  // for those who hear the picture described
        QString text;
        bool filled;  // an area, not a line
    };

    // `report` and `moves` stay with the caller and must outlive the view.
    BackplotView(const CheckReport& report, const std::vector<BackplotMove>& moves,
                 double saw_width, double face_y, QWidget* parent = nullptr);

    // Shows the saw after move `count` (0: where the program starts).
    void show_after(std::size_t count);

    const CheckReport& report() const { return report_; }
    // The world window shown (x, y in mm): the profile with a little room around it.
    const QRectF& world() const { return world_; }
    // Where the plot lies in the widget, inside the scales, titles and legend.
    QRectF plot_area() const;
    static const std::vector<LegendEntry>& legend();
    static const QString& x_title();
    static const QString& y_title();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPointF to_pixel(double x, double y) const;
    void draw_scales(QPainter& p) const;
    void draw_legend(QPainter& p) const;

    const CheckReport& report_;
    const std::vector<BackplotMove>& moves_;
    double saw_width_;
    double face_y_;
    QRectF world_;  // x, y of everything drawn
    std::size_t current_ = 0;
};

}  // namespace ostrivane::gui
