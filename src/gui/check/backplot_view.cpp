#include "gui/check/backplot_view.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <optional>

namespace ostrivane::gui {
namespace {

constexpr double kMargin = 12;
// The saw is drawn as deep as this share of the picture's height below its top.
constexpr double kSawDepthShare = 0.08;

}  // namespace

BackplotView::BackplotView(const CheckReport& report, const std::vector<BackplotMove>& moves,
                           double saw_width, double face_y, QWidget* parent)
    : QWidget(parent), report_(report), moves_(moves), saw_width_(saw_width), face_y_(face_y) {
    setMinimumSize(320, 200);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    bool any = false;
    const auto take = [&](double x, double y) {
        x0 = any ? std::min(x0, x) : x;
        x1 = any ? std::max(x1, x) : x;
        y0 = any ? std::min(y0, y) : y;
        y1 = any ? std::max(y1, y) : y;
        any = true;
    };
    for (const EnvelopeSample& s : report_.envelope) {
        take(s.x, s.envelope);
        if (s.design)
            take(s.x, *s.design);
    }
    // The saw may travel beyond the work: all of its way stays in the picture.
    for (const BackplotMove& m : moves_) {
        take(m.x1, m.y1 - face_y_);
        take(m.x1 + saw_width_, m.y1 - face_y_);
    }
    if (!(x1 > x0))
        x1 = x0 + 1;
    if (!(y1 > y0))
        y1 = y0 + 1;
    // Room below the lowest top for the saw's body.
    y0 -= (y1 - y0) * kSawDepthShare;
    world_ = QRectF(x0, y0, x1 - x0, y1 - y0);
}

void BackplotView::show_after(std::size_t count) {
    current_ = std::min(count, moves_.size());
    update();
}

QPointF BackplotView::to_pixel(double x, double y) const {
    const double w = std::max(1.0, width() - 2 * kMargin);
    const double h = std::max(1.0, height() - 2 * kMargin);
    return {kMargin + (x - world_.left()) / world_.width() * w,
            kMargin + (world_.bottom() - y) / world_.height() * h};
}

void BackplotView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const auto& e = report_.envelope;
    // Overcut and material left between neighbouring samples, as quads from design to
    // envelope.
    p.setPen(Qt::NoPen);
    for (std::size_t i = 1; i < e.size(); ++i) {
        const EnvelopeSample& a = e[i - 1];
        const EnvelopeSample& b = e[i];
        if (!a.design || !b.design)
            continue;
        const double da = a.envelope - *a.design;
        const double db = b.envelope - *b.design;
        if (da == 0 && db == 0)
            continue;
        const QPointF quad[4] = {to_pixel(a.x, *a.design), to_pixel(b.x, *b.design),
                                 to_pixel(b.x, b.envelope), to_pixel(a.x, a.envelope)};
        p.setBrush(da + db > 0 ? QColor(220, 0, 0) : QColor(200, 200, 200));
        p.drawPolygon(quad, 4);
    }
    const auto line = [&](auto height, QColor colour, qreal width) {
        QPainterPath path;
        bool open = false;
        for (const EnvelopeSample& s : e) {
            const auto y = height(s);
            if (!y) {
                open = false;
                continue;
            }
            const QPointF at = to_pixel(s.x, *y);
            open ? path.lineTo(at) : path.moveTo(at);
            open = true;
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(colour, width));
        p.drawPath(path);
    };
    line([](const EnvelopeSample& s) { return s.design; }, Qt::black, 1.5);
    line([](const EnvelopeSample& s) { return std::optional<double>(s.envelope); },
         QColor(0, 70, 200), 1);
    if (current_ == 0 || moves_.empty())
        return;
    const BackplotMove& m = moves_[current_ - 1];
    p.setPen(QPen(QColor(0, 150, 0), 1.5, m.feed ? Qt::SolidLine : Qt::DashLine));
    p.drawLine(to_pixel(m.x0, m.y0 - face_y_), to_pixel(m.x1, m.y1 - face_y_));
    const double depth = world_.height() * kSawDepthShare;
    const QRectF saw(to_pixel(m.x1, m.y1 - face_y_),
                     to_pixel(m.x1 + saw_width_, m.y1 - face_y_ - depth));
    p.setPen(QPen(QColor(0, 110, 0), 1));
    p.setBrush(QColor(0, 160, 0, 120));
    p.drawRect(saw.normalized());
}

}  // namespace ostrivane::gui
