#include "gui/check/backplot_view.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <optional>

namespace ostrivane::gui {
namespace {

// Room around the plot for the scales and their titles (left, bottom) and the legend (top).
constexpr double kLeftRoom = 64;
constexpr double kBottomRoom = 44;
constexpr double kTopRoom = 26;
constexpr double kRightRoom = 16;
// Room around the profile inside the plot, as a share of its extent.
constexpr double kFitMargin = 0.04;
// The saw is drawn as deep as this share of the picture's height below its top.
constexpr double kSawDepthShare = 0.08;
const QColor kOvercut(220, 0, 0);
const QColor kMaterialLeft(200, 200, 200);
const QColor kEnvelope(0, 70, 200);
const QColor kSaw(0, 160, 0);

// The extent of the points taken; empty until one is.
struct Extent {
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    bool any = false;
    void take(double x, double y) {
        x0 = any ? std::min(x0, x) : x;
        x1 = any ? std::max(x1, x) : x;
        y0 = any ? std::min(y0, y) : y;
        y1 = any ? std::max(y1, y) : y;
        any = true;
    }
};

// How many decimals a mark needs at this spacing.
int decimals_for(double step) {
    return std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 6);
}

}  // namespace

std::vector<double> scale_marks(double lo, double hi, int at_most) {
    std::vector<double> marks;
    if (!(hi > lo) || at_most < 1 || !std::isfinite(lo) || !std::isfinite(hi))
        return marks;
    const double rough = (hi - lo) / at_most;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (const double f : {1.0, 2.0, 5.0}) {
        if (f * power >= rough) {
            step = f * power;
            break;
        }
    }
    for (double k = std::ceil(lo / step); k * step <= hi + step * 1e-9; k += 1)
        marks.push_back(k * step == 0 ? 0.0 : k * step);  // no "-0"
    return marks;
}

const std::vector<BackplotView::LegendEntry>& BackplotView::legend() {
    static const std::vector<LegendEntry> entries = {
        {Qt::black, QStringLiteral("black"), QStringLiteral("design"), false},
        {kEnvelope, QStringLiteral("blue"), QStringLiteral("envelope (highest saw top)"), false},
        {kOvercut, QStringLiteral("red"), QStringLiteral("overcut"), true},
        {kMaterialLeft, QStringLiteral("grey"), QStringLiteral("material left"), true},
        {kSaw, QStringLiteral("green"), QStringLiteral("saw"), true},
    };
    return entries;
}

const QString& BackplotView::x_title() {
    static const QString title = QStringLiteral("X along the work (mm)");
    return title;
}

const QString& BackplotView::y_title() {
    static const QString title = QStringLiteral("Y, saw top (mm)");
    return title;
}

BackplotView::BackplotView(const CheckReport& report, const std::vector<BackplotMove>& moves,
                           double saw_width, double face_y, QWidget* parent)
    : QWidget(parent), report_(report), moves_(moves), saw_width_(saw_width), face_y_(face_y) {
    setMinimumSize(360, 240);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    // The picture opens on the profile: where it was designed, and where the saw cut near it.
    // The saw's travel to and from the work may run out of the picture.
    Extent design;
    Extent envelope;
    for (const EnvelopeSample& s : report_.envelope) {
        envelope.take(s.x, s.envelope);
        if (s.design) {
            design.take(s.x, *s.design);
            design.take(s.x, s.envelope);
        }
    }
    Extent fit = design.any ? design : envelope;
    if (!fit.any) {
        for (const BackplotMove& m : moves_) {
            fit.take(m.x1, m.y1 - face_y_);
            fit.take(m.x1 + saw_width_, m.y1 - face_y_);
        }
    }
    if (!(fit.x1 > fit.x0))
        fit.x1 = fit.x0 + 1;
    if (!(fit.y1 > fit.y0))
        fit.y1 = fit.y0 + 1;
    const double dx = (fit.x1 - fit.x0) * kFitMargin;
    const double dy = (fit.y1 - fit.y0) * kFitMargin;
    // Room below the lowest top for the saw's body.
    const double y0 = fit.y0 - dy - (fit.y1 - fit.y0) * kSawDepthShare;
    world_ = QRectF(fit.x0 - dx, y0, fit.x1 - fit.x0 + 2 * dx, fit.y1 + dy - y0);
}

void BackplotView::show_after(std::size_t count) {
    current_ = std::min(count, moves_.size());
    update();
}

QRectF BackplotView::plot_area() const {
    const double w = std::max(1.0, width() - kLeftRoom - kRightRoom);
    const double h = std::max(1.0, height() - kTopRoom - kBottomRoom);
    return {kLeftRoom, kTopRoom, w, h};
}

QPointF BackplotView::to_pixel(double x, double y) const {
    const QRectF a = plot_area();
    return {a.left() + (x - world_.left()) / world_.width() * a.width(),
            a.top() + (world_.bottom() - y) / world_.height() * a.height()};
}

void BackplotView::draw_scales(QPainter& p) const {
    const QRectF a = plot_area();
    const QFontMetricsF fm(p.font());
    p.setPen(QPen(palette().color(QPalette::Text), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(a);
    const auto x_marks =
        scale_marks(world_.left(), world_.right(), std::max(2, static_cast<int>(a.width() / 90)));
    const int x_decimals = x_marks.size() > 1 ? decimals_for(x_marks[1] - x_marks[0]) : 0;
    for (const double x : x_marks) {
        const double px = to_pixel(x, 0).x();
        p.drawLine(QPointF(px, a.bottom()), QPointF(px, a.bottom() + 5));
        const QString text = QString::number(x, 'f', x_decimals);
        p.drawText(QPointF(px - fm.horizontalAdvance(text) / 2, a.bottom() + 6 + fm.ascent()),
                   text);
    }
    const auto y_marks =
        scale_marks(world_.top(), world_.bottom(), std::max(2, static_cast<int>(a.height() / 40)));
    const int y_decimals = y_marks.size() > 1 ? decimals_for(y_marks[1] - y_marks[0]) : 0;
    for (const double y : y_marks) {
        const double py = to_pixel(0, y).y();
        p.drawLine(QPointF(a.left() - 5, py), QPointF(a.left(), py));
        const QString text = QString::number(y, 'f', y_decimals);
        p.drawText(QPointF(a.left() - 8 - fm.horizontalAdvance(text), py + fm.ascent() / 2 - 1),
                   text);
    }
    p.drawText(
        QPointF(a.center().x() - fm.horizontalAdvance(x_title()) / 2, height() - fm.descent() - 2),
        x_title());
    p.save();
    p.translate(fm.ascent() + 2, a.center().y() + fm.horizontalAdvance(y_title()) / 2);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), y_title());
    p.restore();
}

void BackplotView::draw_legend(QPainter& p) const {
    const QFontMetricsF fm(p.font());
    double x = kLeftRoom;
    const double mid = kTopRoom / 2;
    for (const LegendEntry& e : legend()) {
        const QRectF swatch(x, mid - 5, 18, 10);
        if (e.filled) {
            p.setPen(Qt::NoPen);
            p.setBrush(e.colour);
            p.drawRect(swatch);
        } else {
            p.setPen(QPen(e.colour, 2));
            p.drawLine(QPointF(swatch.left(), mid), QPointF(swatch.right(), mid));
        }
        p.setPen(palette().color(QPalette::Text));
        p.drawText(QPointF(swatch.right() + 5, mid + fm.ascent() / 2 - 1), e.text);
        x = swatch.right() + 5 + fm.horizontalAdvance(e.text) + 16;
    }
}

void BackplotView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    draw_legend(p);
    draw_scales(p);
    p.setClipRect(plot_area());
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
        p.setBrush(da + db > 0 ? kOvercut : kMaterialLeft);
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
    line([](const EnvelopeSample& s) { return std::optional<double>(s.envelope); }, kEnvelope, 1);
    if (current_ == 0 || moves_.empty())
        return;
    const BackplotMove& m = moves_[current_ - 1];
    p.setPen(QPen(QColor(0, 150, 0), 1.5, m.feed ? Qt::SolidLine : Qt::DashLine));
    p.drawLine(to_pixel(m.x0, m.y0 - face_y_), to_pixel(m.x1, m.y1 - face_y_));
    const double depth = world_.height() * kSawDepthShare;
    const QRectF saw(to_pixel(m.x1, m.y1 - face_y_),
                     to_pixel(m.x1 + saw_width_, m.y1 - face_y_ - depth));
    p.setPen(QPen(QColor(0, 110, 0), 1));
    p.setBrush(QColor(kSaw.red(), kSaw.green(), kSaw.blue(), 120));
    p.drawRect(saw.normalized());
}

}  // namespace ostrivane::gui
