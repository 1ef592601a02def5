#include "gui/editor/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ostrivane::gui {
namespace {

constexpr int kWidth = 36;
constexpr int kHeight = 40;
const QColor kInk(0x3b, 0x2f, 0x24);

void plus(QPainter& p) {
    p.setPen(QPen(QColor(0x2e, 0x7d, 0x32), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(18, 6, 18, 24);
    p.drawLine(9, 15, 27, 15);
}

void scissors(QPainter& p) {
    p.setPen(QPen(kInk, 2));
    p.drawEllipse(QRectF(6, 16, 8, 8));
    p.drawEllipse(QRectF(22, 16, 8, 8));
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 17), QPointF(26, 3));
    p.drawLine(QPointF(24, 17), QPointF(10, 3));
}

void magnifier(QPainter& p) {
    p.setPen(QPen(kInk, 2.5));
    p.setBrush(QColor(0xd6, 0xea, 0xf8));
    p.drawEllipse(QRectF(7, 3, 15, 15));
    p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 16), QPointF(28, 24));
}

void four_way_arrow(QPainter& p) {
    p.setPen(QPen(kInk, 2));
    p.drawLine(18, 3, 18, 25);
    p.drawLine(7, 14, 29, 14);
    p.setBrush(kInk);
    const auto head = [&](QPointF tip, QPointF a, QPointF b) {
        p.drawPolygon(QPolygonF({tip, a, b}));
    };
    head({18, 2}, {14, 7}, {22, 7});
    head({18, 26}, {14, 21}, {22, 21});
    head({6, 14}, {11, 10}, {11, 18});
    head({30, 14}, {25, 10}, {25, 18});
}

void dashed_rectangle(QPainter& p) {
    p.setPen(QPen(QColor(0xc6, 0x28, 0x28), 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(6, 5, 24, 17));
}

}  // namespace

QIcon tool_icon(ToolIcon which) {
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const char* word = "";
    switch (which) {
        case ToolIcon::Add:
            plus(p);
            word = "add";
            break;
        case ToolIcon::Cut:
            scissors(p);
            word = "Cut";
            break;
        case ToolIcon::Zoom:
            magnifier(p);
            word = "Zoom";
            break;
        case ToolIcon::Move:
            four_way_arrow(p);
            word = "mov";
            break;
        case ToolIcon::Select:
            dashed_rectangle(p);
            word = "sel";
            break;
    }
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRect(0, 28, kWidth, 12), Qt::AlignCenter, QString::fromLatin1(word));
    p.end();
    QIcon icon(pixmap);
    // A disabled tool shows its picture greyed, as the toolkit makes it.
    return icon;
}

}  // namespace ostrivane::gui
