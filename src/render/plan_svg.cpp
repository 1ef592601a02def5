#include "render/plan_svg.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <cmath>
#include <functional>

#include "core/planner/plan_drawing.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "render/offscreen_application.h"
#include "render/qt_string.h"

namespace ostrivane {
namespace {

// Hairline enough for a laser to cut on, thick enough to see on screen and paper.
constexpr double kOutlineWidth = 0.1;
constexpr double kMarkWidth = 0.2;
// The generator takes whole pixels and dots per inch: at 254 dpi a pixel is 0.1 mm, so a
// drawing of whole millimetres gets a width and height of exactly its viewBox in millimetres.
constexpr int kResolution = 254;
constexpr int kPixelsPerMm = 10;

// Drawing millimetres (y up) to the SVG's (from the top-left corner, y down).
struct Frame {
    double left = 0;
    double top = 0;
    int width = 0;
    int height = 0;
    QPointF operator()(const CurvePoint& p) const { return {p.x - left, top - p.y}; }
};

Frame frame_of(const PlanDrawing& d) {
    Frame f;
    f.left = d.xmin - kDrawingMargin;
    f.top = d.ymax + kDrawingMargin;
    f.width = static_cast<int>(std::ceil(d.xmax + kDrawingMargin - f.left));
    f.height = static_cast<int>(std::ceil(f.top - (d.ymin - kDrawingMargin)));
    return f;
}

QPen pen(double width) {
    QPen p(Qt::black, width);
    // Round ends and corners reach exactly half the line's width past the outline everywhere.
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

// A text as XML 1.0 may hold it: the control characters it forbids become blanks, and bytes
// that are not UTF-8 the replacement character.
QString xml_safe(const std::string& text) {
    QString safe = qs(text);
    for (QChar& c : safe) {
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            c = u' ';
    }
    return safe;
}

void draw_text(QPainter& painter, const Frame& f, const DrawingText& t) {
    QFont font(QStringLiteral("DejaVu Sans"));
    // One pixel of the painter is one millimetre of the drawing.
    font.setPixelSize(static_cast<int>(std::lround(t.height)));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(f({t.x, t.y}), xml_safe(t.text));
}

// One group's drawing as the generator writes it: a whole document, of which the part after
// its definitions is the group's content.
QByteArray generate(const Frame& f, const QString& title,
                    const std::function<void(QPainter&)>& paint) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(kResolution);
    generator.setSize(QSize(f.width * kPixelsPerMm, f.height * kPixelsPerMm));
    generator.setViewBox(QRectF(0, 0, f.width, f.height));
    generator.setTitle(title);
    generator.setDescription(QStringLiteral("Ostrivane saw plan, 1:1 in millimetres"));
    QPainter painter;
    if (!painter.begin(&generator))
        throw Error("The SVG drawing could not be started");
    painter.setRenderHint(QPainter::Antialiasing, true);
    paint(painter);
    painter.end();
    return buffer.data();
}

std::string xml_text(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// Splits a generated document into what comes up to its definitions (the root element and
// the title) and the content after them.
std::pair<std::string, std::string> split(const QByteArray& document) {
    const std::string text = document.toStdString();
    static constexpr std::string_view kDefsEnd = "</defs>\n";
    static constexpr std::string_view kEnd = "</svg>";
    const std::size_t defs = text.find(kDefsEnd);
    const std::size_t end = text.rfind(kEnd);
    if (defs == std::string::npos || end == std::string::npos || end < defs)
        throw Error("The SVG generator wrote a document of an unknown form");
    return {text.substr(0, defs + kDefsEnd.size()),
            text.substr(defs + kDefsEnd.size(), end - defs - kDefsEnd.size())};
}

// The document's head with `title` as the text of its title element.
std::string set_title(const std::string& head, const std::string& title) {
    static constexpr std::string_view kOpen = "<title>";
    static constexpr std::string_view kClose = "</title>";
    const std::size_t open = head.find(kOpen);
    const std::size_t close = head.find(kClose, open);
    if (open == std::string::npos || close == std::string::npos)
        throw Error("The SVG generator wrote a document of an unknown form");
    const std::size_t from = open + kOpen.size();
    return head.substr(0, from) + xml_text(xml_safe(title).toStdString()) + head.substr(close);
}

std::string group(const std::string& name, const std::string& content) {
    return "<g id=\"" + svg_group_id(name) + "\" inkscape:groupmode=\"layer\" inkscape:label=\"" +
           xml_text(xml_safe(name).toStdString()) + "\">\n" + content + "</g>\n";
}

}  // namespace

std::string svg_group_id(const std::string& name) {
    std::string id;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.';
        id += plain ? c : '_';
    }
    // An XML name starts with a letter or an underscore.
    if (id.empty() || !((id[0] >= 'a' && id[0] <= 'z') || (id[0] >= 'A' && id[0] <= 'Z')))
        id.insert(0, "_");
    return id;
}

std::string plan_svg(const PlanDrawing& d, const std::string& title) {
    const auto app = offscreen_application();
    const Frame f = frame_of(d);
    // A plain title for the generator, which does not escape it; the real one is set after.
    const QString qtitle = QStringLiteral("Saw plan");
    std::string head;
    std::string body;
    for (const PlankDrawing& p : d.planks) {
        auto [h, content] = split(generate(f, qtitle, [&](QPainter& painter) {
            QPainterPath path;
            path.moveTo(f(p.outline.front()));
            for (std::size_t i = 1; i < p.outline.size(); ++i)
                path.lineTo(f(p.outline[i]));
            path.closeSubpath();
            painter.setPen(pen(kOutlineWidth));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
            for (const DrawingText& t : p.texts)
                draw_text(painter, f, t);
        }));
        if (head.empty())
            head = h;
        body += group(p.name, content);
    }
    auto [h, marks] = split(generate(f, qtitle, [&](QPainter& painter) {
        painter.setPen(pen(kMarkWidth));
        for (const PlankDrawing& p : d.planks)
            painter.drawLine(f(p.axis_from), f(p.axis_to));
        painter.drawLine(f(d.bar_from), f(d.bar_to));
        for (const CurvePoint& end : {d.bar_from, d.bar_to})
            painter.drawLine(f({end.x, end.y - d.bar_tick}), f({end.x, end.y + d.bar_tick}));
        draw_text(painter, f, d.bar_text);
    }));
    if (head.empty())
        head = h;
    body += group(kAxisGroupName, marks);
    // Inkscape shows the groups as layers; other readers ignore its attributes.
    static constexpr std::string_view kNamespace = "xmlns=\"http://www.w3.org/2000/svg\"";
    const std::size_t ns = head.find(kNamespace);
    if (ns == std::string::npos)
        throw Error("The SVG generator wrote a document of an unknown form");
    head.insert(ns, "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" ");
    return set_title(head, title) + body + "</svg>\n";
}

void write_plan_svg(const std::filesystem::path& file, const PlanDrawing& drawing,
                    const std::string& title) {
    write_file_atomically(file, plan_svg(drawing, title));
}

}  // namespace ostrivane
