#include "gui/app/illustrations.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace ostrivane::gui {
namespace {

const QColor kWood(0xd9, 0xb3, 0x82);
const QColor kWoodDark(0x8a, 0x62, 0x3a);
const QColor kSteel(0x9a, 0xa4, 0xad);
const QColor kInk(0x33, 0x33, 0x33);

QPainterPath saw_blade(QPointF centre, double radius, int teeth) {
    QPainterPath path;
    for (int i = 0; i <= teeth * 2; ++i) {
        const double angle = std::numbers::pi * i / teeth;
        const double r = i % 2 == 0 ? radius : radius * 0.9;
        const QPointF p = centre + QPointF(r * std::cos(angle), r * std::sin(angle));
        i == 0 ? path.moveTo(p) : path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

void dimension(QPainter& p, QPointF a, QPointF b, const QString& text) {
    p.setPen(QPen(kInk, 1));
    p.drawLine(a, b);
    const QPointF mid = (a + b) / 2;
    const QRectF box(mid.x() - 60, mid.y() - 18, 120, 16);
    p.drawText(box, Qt::AlignCenter, text);
}

QPixmap transparent_pixmap(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

QPixmap finger_joint_illustration(QSize size) {
    QPixmap pixmap = transparent_pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    const double top = h * 0.42;
    const double board_h = h * 0.36;
    const double cut = w * 0.14;
    const double pin = w * 0.14;
    const double depth = h * 0.2;
    const double x0 = w * 0.12;

    // The board with two slots sawn into its top edge.
    QPainterPath board;
    board.moveTo(w * 0.04, top);
    double x = x0;
    board.lineTo(x, top);
    for (int k = 0; k < 2; ++k) {
        board.lineTo(x, top + depth);
        board.lineTo(x + cut, top + depth);
        board.lineTo(x + cut, top);
        x += cut + pin;
        board.lineTo(x, top);
    }
    board.lineTo(w * 0.96, top);
    board.lineTo(w * 0.96, top + board_h);
    board.lineTo(w * 0.04, top + board_h);
    board.closeSubpath();
    p.setPen(QPen(kWoodDark, 1.5));
    p.setBrush(kWood);
    p.drawPath(board);

    // The blade, narrower than the slot, sawing the second slot to its depth.
    const double blade_r = h * 0.22;
    const QPointF centre(x0 + cut + pin + cut * 0.3, top + depth - blade_r);
    p.setBrush(kSteel);
    p.setPen(QPen(kInk, 1));
    p.drawPath(saw_blade(centre, blade_r, 18));
    p.setBrush(kInk);
    p.drawEllipse(centre, 4, 4);

    const double below = top + board_h;
    dimension(p, QPointF(x0, below + 22), QPointF(x0 + cut, below + 22),
              QStringLiteral("Cut width"));
    dimension(p, QPointF(x0 + cut, below + 44), QPointF(x0 + cut + pin, below + 44),
              QStringLiteral("Pin width"));
    p.drawLine(QPointF(x0 + cut / 2, top), QPointF(x0 + cut / 2, top + depth));
    p.drawText(QRectF(x0 - 30, top - 20, cut + 60, 16), Qt::AlignCenter,
               QStringLiteral("Cut depth"));
    return pixmap;
}

QPixmap ostrivane_logo(QSize size) {
    QPixmap pixmap = transparent_pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    // A turned spindle: a profile mirrored about its axis.
    const int n = 40;
    const auto edge = [&](int i, double side) {
        const double t = static_cast<double>(i) / n;
        const double r = h * (0.12 + 0.06 * std::sin(t * 3 * std::numbers::pi));
        return QPointF(w * (0.1 + 0.8 * t), h * 0.62 + side * r);
    };
    QPainterPath spindle(edge(0, -1));
    for (int i = 1; i <= n; ++i)
        spindle.lineTo(edge(i, -1));
    for (int i = n; i >= 0; --i)
        spindle.lineTo(edge(i, 1));
    spindle.closeSubpath();
    p.setPen(QPen(kWoodDark, 2));
    p.setBrush(kWood);
    p.drawPath(spindle);
    p.setBrush(kSteel);
    p.setPen(QPen(kInk, 1.5));
    p.drawPath(saw_blade(QPointF(w * 0.5, h * 0.28), h * 0.22, 24));
    p.setBrush(kInk);
    p.drawEllipse(QPointF(w * 0.5, h * 0.28), 5, 5);
    return pixmap;
}

}  // namespace ostrivane::gui
