#include "render/image_canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QPen>
#include <QString>
#include <algorithm>

#include "render/qt_string.h"

namespace ostrivane {
namespace {

Qt::PenStyle to_style(Dash dash) {
    switch (dash) {
        case Dash::Solid:
            return Qt::SolidLine;
        case Dash::Dash:
            return Qt::DashLine;
        case Dash::Dot:
            return Qt::DotLine;
        case Dash::DashDot:
            return Qt::DashDotLine;
        case Dash::DashDotDot:
            return Qt::DashDotDotLine;
        case Dash::Custom:
            break;  // no pattern was ever given: solid
    }
    return Qt::SolidLine;
}

// Flat ends and mitred corners, so rectangles keep square corners and a line ends where it is
// told to.
QPen to_qpen(const Pen& pen) {
    return QPen(QBrush(to_qcolor(pen.color)), static_cast<qreal>(pen.thickness), to_style(pen.dash),
                Qt::FlatCap, Qt::MiterJoin);
}

QRectF to_qrect(const RectF& r) {
    return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}

QPainterPath to_qpath(const Path& path) {
    QPainterPath q;
    if (path.points.empty()) {
        return q;
    }
    // One element per point, and one more to close: a spline's outline has thousands.
    q.reserve(static_cast<int>(path.points.size() + (path.closed ? 1 : 0)));
    q.moveTo(path.points.front().x, path.points.front().y);
    for (std::size_t i = 1; i < path.points.size(); ++i) {
        q.lineTo(path.points[i].x, path.points[i].y);
    }
    if (path.closed) {
        q.closeSubpath();
    }
    return q;
}

int alignment_flags(TextAlign horizontal, TextAlign vertical) {
    int flags = 0;
    switch (horizontal) {
        case TextAlign::Leading:
            flags |= Qt::AlignLeft;
            break;
        case TextAlign::Center:
            flags |= Qt::AlignHCenter;
            break;
        case TextAlign::Trailing:
            flags |= Qt::AlignRight;
            break;
    }
    switch (vertical) {
        case TextAlign::Leading:
            flags |= Qt::AlignTop;
            break;
        case TextAlign::Center:
            flags |= Qt::AlignVCenter;
            break;
        case TextAlign::Trailing:
            flags |= Qt::AlignBottom;
            break;
    }
    return flags;
}

void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

}  // namespace

QColor to_qcolor(Argb color) {
    return QColor::fromRgba(static_cast<QRgb>(color));
}

// Font sizes are in pixels, whatever the resolution of the target.
QFont to_qfont(const Font& font) {
    QFont q(QString::fromStdString(font.family));
    q.setPixelSize(std::max(1, static_cast<int>(font.size + 0.5f)));
    return q;
}

ImageCanvas::~ImageCanvas() {
    abandon_scene();
}

void ImageCanvas::set_image(QImage& image) {
    abandon_scene();
    image_ = &image;
}

void ImageCanvas::abandon_scene() {
    if (scene_) {
        scene_->end();
        scene_.reset();
    }
    scene_depth_ = 0;
}

bool ImageCanvas::begin_scene() {
    if (scene_) {
        ++scene_depth_;  // nested brackets share the open painter
        return true;
    }
    if (image_->isNull()) {
        return false;
    }
    scene_.emplace();
    if (!scene_->begin(image_)) {
        scene_.reset();
        return false;
    }
    prepare(*scene_);
    scene_font_id_ = 0;
    scene_depth_ = 1;
    return true;
}

void ImageCanvas::end_scene() {
    if (scene_depth_ > 0 && --scene_depth_ == 0)
        abandon_scene();
}

ImageCanvas::ConvertedFont::ConvertedFont(const Font& core_font, std::uint64_t conversion)
    : core(core_font),
      font(to_qfont(core_font)),
      metrics(font),
      height(static_cast<float>(metrics.height())),
      id(conversion) {}

// A QFont resolves the same way for as long as the font database stays as it is, and this
// program adds no fonts while it runs; so what was measured with a conversion stays true.
ImageCanvas::ConvertedFont& ImageCanvas::converted(const Font& font) const {
    if (!font_ || font_->core != font) {
        font_.emplace(font, ++conversions_);
    }
    return *font_;
}

const QString& ImageCanvas::qt_text(std::string_view text) const {
    if (!text_ || *text_ != text) {
        text_.emplace(text);
        qtext_ = qs(text);
    }
    return qtext_;
}

// The primitives set every part of the painter's state they draw with (opacity, pen, brush,
// font, composition mode) and leave it set. Saving and restoring the whole state around each
// of a picture's thousand markers gave the next primitive nothing it does not set itself.
template <typename Paint>
void ImageCanvas::paint_with(float opacity, Paint&& paint) {
    if (scene_) {
        scene_->setOpacity(opacity);
        paint(*scene_);
        return;
    }
    if (image_->isNull()) {
        return;
    }
    QPainter p(image_);
    prepare(p);
    p.setOpacity(opacity);
    paint(p);
}

void ImageCanvas::set_font(QPainter& p, const ConvertedFont& font) {
    const bool in_scene = scene_ && &p == &*scene_;
    if (in_scene && scene_font_id_ == font.id) {
        return;
    }
    p.setFont(font.font);
    if (in_scene) {
        scene_font_id_ = font.id;
    }
}

void ImageCanvas::clear(Argb color) {
    paint_with(1.0f, [&](QPainter& p) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(image_->rect(), to_qcolor(color));
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);  // what the others draw with
    });
}

void ImageCanvas::draw_line(PointF from, PointF to, const Pen& pen, float opacity) {
    paint_with(opacity, [&](QPainter& p) {
        p.setPen(to_qpen(pen));
        p.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
    });
}

void ImageCanvas::draw_path(const Path& path, const Pen& pen, float opacity) {
    if (path.points.size() < 2) {
        return;  // a lone point has no stroke
    }
    paint_with(opacity, [&](QPainter& p) {
        p.setPen(to_qpen(pen));
        p.setBrush(Qt::NoBrush);
        p.drawPath(to_qpath(path));
    });
}

void ImageCanvas::fill_path(const Path& path, Argb color, float opacity) {
    if (path.points.size() < 3) {
        return;
    }
    paint_with(opacity, [&](QPainter& p) { p.fillPath(to_qpath(path), to_qcolor(color)); });
}

void ImageCanvas::draw_ellipse(const RectF& bounds, const Pen& pen, float opacity) {
    paint_with(opacity, [&](QPainter& p) {
        p.setPen(to_qpen(pen));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(to_qrect(bounds));
    });
}

void ImageCanvas::fill_rect(const RectF& rect, Argb color, float opacity) {
    paint_with(opacity,
               [&](QPainter& p) { p.fillRect(to_qrect(rect).normalized(), to_qcolor(color)); });
}

void ImageCanvas::draw_rect(const RectF& rect, const Pen& pen, float opacity) {
    paint_with(opacity, [&](QPainter& p) {
        p.setPen(to_qpen(pen));
        p.setBrush(Qt::NoBrush);
        p.drawRect(to_qrect(rect).normalized());
    });
}

void ImageCanvas::fill_text(const RectF& rect, std::string_view text, const Font& font, Argb color,
                            TextAlign horizontal, TextAlign vertical, bool word_wrap,
                            float opacity) {
    int flags = alignment_flags(horizontal, vertical) | Qt::TextDontClip;
    if (word_wrap) {
        flags |= Qt::TextWordWrap;
    }
    const ConvertedFont& qfont = converted(font);
    const QString& qtext = qt_text(text);
    paint_with(opacity, [&](QPainter& p) {
        set_font(p, qfont);
        p.setPen(to_qcolor(color));
        p.drawText(to_qrect(rect), flags, qtext);
    });
}

float ImageCanvas::text_width(std::string_view text, const Font& font) const {
    ConvertedFont& qfont = converted(font);
    if (!qfont.measured_width || qfont.measured_text != text) {
        qfont.measured_width = static_cast<float>(qfont.metrics.horizontalAdvance(qt_text(text)));
        qfont.measured_text.assign(text);
    }
    return *qfont.measured_width;
}

float ImageCanvas::text_height(std::string_view /*text*/, const Font& font) const {
    return converted(font).height;
}

}  // namespace ostrivane
