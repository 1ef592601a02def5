#include "support/recording_canvas.h"

namespace ostrivane {

bool RecordingCanvas::begin_scene() {
    ++scenes_begun;
    in_scene_ = true;
    return true;
}

void RecordingCanvas::end_scene() {
    ++scenes_ended;
    in_scene_ = false;
}

CanvasCall& RecordingCanvas::record(CanvasCall::Kind kind, float opacity) {
    if (!in_scene_) {
        drawn_outside_scene = true;
    }
    CanvasCall& call = calls.emplace_back();
    call.kind = kind;
    call.opacity = opacity;
    return call;
}

void RecordingCanvas::clear(Argb color) {
    record(CanvasCall::Kind::Clear).color = color;
}

void RecordingCanvas::draw_line(PointF from, PointF to, const Pen& pen, float opacity) {
    CanvasCall& call = record(CanvasCall::Kind::Line, opacity);
    call.points = {from, to};
    call.pen = pen;
}

void RecordingCanvas::draw_path(const Path& path, const Pen& pen, float opacity) {
    CanvasCall& call = record(CanvasCall::Kind::Path, opacity);
    call.points = path.points;
    call.closed = path.closed;
    call.pen = pen;
}

void RecordingCanvas::fill_path(const Path& path, Argb color, float opacity) {
    CanvasCall& call = record(CanvasCall::Kind::FillPath, opacity);
    call.points = path.points;
    call.closed = path.closed;
    call.color = color;
}

void RecordingCanvas::draw_ellipse(const RectF& bounds, const Pen& pen, float opacity) {
    CanvasCall& call = record(CanvasCall::Kind::Ellipse, opacity);
    call.rect = bounds;
    call.pen = pen;
}

void RecordingCanvas::fill_rect(const RectF& rect, Argb color, float opacity) {
    CanvasCall& call = record(CanvasCall::Kind::FillRect, opacity);
    call.rect = rect;
    call.color = color;
}

void RecordingCanvas::draw_rect(const RectF& rect, const Pen& pen, float opacity) {
    CanvasCall& call = record(CanvasCall::Kind::Rect, opacity);
    call.rect = rect;
    call.pen = pen;
}

void RecordingCanvas::fill_text(const RectF& rect, std::string_view text, const Font& font,
                                Argb color, TextAlign horizontal, TextAlign vertical,
                                bool word_wrap, float opacity) {
    CanvasCall& call = record(CanvasCall::Kind::Text, opacity);
    call.rect = rect;
    call.text = std::string(text);
    call.font = font;
    call.color = color;
    call.horizontal = horizontal;
    call.vertical = vertical;
    call.word_wrap = word_wrap;
}

float RecordingCanvas::text_width(std::string_view text, const Font& font) const {
    return static_cast<float>(text.size()) * font.size / 2;
}

float RecordingCanvas::text_height(std::string_view /*text*/, const Font& font) const {
    return font.size * 1.25f;
}

}  // namespace ostrivane
