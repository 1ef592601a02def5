#include "render/plan_dxf.h"

#include <dxflib/dl_dxf.h>
#include <dxflib/dl_writer_ascii.h>

#include "core/planner/plan_drawing.h"
#include "core/text/file_io.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

// A value as one line of the file. Every line of a DXF file is a group code or a value, so a
// line break in a name would start groups of its own: control characters are written in the
// format's caret notation (^J for a line feed), and a caret itself as "^ ".
std::string dxf_value(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) {
            out += '^';
            out += static_cast<char>(byte + 0x40);
        } else if (c == '^') {
            out += "^ ";
        } else {
            out += c;
        }
    }
    return out;
}

// dxflib writes through its file writer only, formatting numbers with printf. This one keeps
// the text in memory, so the file goes through the program's atomic save, and formats numbers
// itself: printf follows the process locale, which the window sets from the desktop's.
class StringWriter final : public DL_WriterA {
  public:
    StringWriter() : DL_WriterA("", DL_VERSION_2000) {}

    void dxfReal(int gc, double value) const override { pair(gc, format_shortest(value)); }
    void dxfInt(int gc, int value) const override { pair(gc, std::to_string(value)); }
    void dxfHex(int gc, int value) const override {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        std::string hex;
        auto v = static_cast<unsigned int>(value);
        do {
            hex.insert(hex.begin(), kDigits[v % 16]);
            v /= 16;
        } while (v != 0);
        pair(gc, hex);
    }
    void dxfString(int gc, const char* value) const override { pair(gc, value); }
    void dxfString(int gc, const std::string& value) const override { pair(gc, value); }

    const std::string& text() const { return text_; }

  private:
    void pair(int gc, const std::string& value) const {
        // Group codes are right-aligned in three columns, as AutoCAD writes them.
        std::string code = std::to_string(gc);
        if (code.size() < 3)
            code.insert(0, 3 - code.size(), ' ');
        text_ += code + "\n" + dxf_value(value) + "\n";
    }

    mutable std::string text_;
};

DL_Attributes on_layer(const std::string& layer) {
    return DL_Attributes(layer, DL_Codes::bylayer, -1, "BYLAYER", 1.0);
}

void line(DL_Dxf& dxf, StringWriter& w, const std::string& layer, const CurvePoint& a,
          const CurvePoint& b) {
    dxf.writeLine(w, DL_LineData(a.x, a.y, 0, b.x, b.y, 0), on_layer(layer));
}

void text(DL_Dxf& dxf, StringWriter& w, const std::string& layer, const DrawingText& t) {
    dxf.writeText(
        w, DL_TextData(t.x, t.y, 0, t.x, t.y, 0, t.height, 1.0, 0, 0, 0, t.text, "Standard", 0.0),
        on_layer(layer));
}

void header(DL_Dxf& dxf, StringWriter& w) {
    dxf.writeHeader(w);
    w.dxfString(9, "$INSUNITS");
    w.dxfInt(70, 4);  // millimetres
    w.dxfString(9, "$MEASUREMENT");
    w.dxfInt(70, 1);  // metric
    w.sectionEnd();
}

void tables(DL_Dxf& dxf, StringWriter& w, const PlanDrawing& d) {
    w.sectionTables();
    dxf.writeVPort(w);
    w.tableLinetypes(3);
    dxf.writeLinetype(w, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
    dxf.writeLinetype(w, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
    dxf.writeLinetype(w, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
    w.tableEnd();
    w.tableLayers(static_cast<int>(d.planks.size()) + 2);
    const auto layer = [&](const std::string& name, int color) {
        dxf.writeLayer(w, DL_LayerData(name, 0), DL_Attributes("", color, 100, "CONTINUOUS", 1.0));
    };
    layer("0", DL_Codes::black);
    for (const PlankDrawing& p : d.planks)
        layer(p.name, DL_Codes::blue);
    layer(kAxisLayerName, DL_Codes::black);
    w.tableEnd();
    w.tableStyle(1);
    dxf.writeStyle(w, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, kDrawingTextHeight, "txt", ""));
    w.tableEnd();
    dxf.writeView(w);
    dxf.writeUcs(w);
    w.tableAppid(1);
    dxf.writeAppid(w, "ACAD");
    w.tableEnd();
    dxf.writeDimStyle(w, 1, 1, 1, 1, 1);
    dxf.writeBlockRecord(w);
    w.tableEnd();
    w.sectionEnd();
    w.sectionBlocks();
    dxf.writeBlock(w, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(w, "*Model_Space");
    dxf.writeBlock(w, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(w, "*Paper_Space");
    dxf.writeBlock(w, DL_BlockData("*Paper_Space0", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(w, "*Paper_Space0");
    w.sectionEnd();
}

}  // namespace

std::string plan_dxf(const PlanDrawing& d) {
    DL_Dxf dxf;
    StringWriter w;
    header(dxf, w);
    tables(dxf, w, d);
    w.sectionEntities();
    for (const PlankDrawing& p : d.planks) {
        const int points = static_cast<int>(p.outline.size());
        dxf.writePolyline(w, DL_PolylineData(points, 0, 0, 1 /* closed */), on_layer(p.name));
        for (const CurvePoint& q : p.outline)
            dxf.writeVertex(w, DL_VertexData(q.x, q.y, 0, 0));
        dxf.writePolylineEnd(w);
        for (const DrawingText& t : p.texts)
            text(dxf, w, p.name, t);
    }
    for (const PlankDrawing& p : d.planks)
        line(dxf, w, kAxisLayerName, p.axis_from, p.axis_to);
    line(dxf, w, kAxisLayerName, d.bar_from, d.bar_to);
    for (const CurvePoint& end : {d.bar_from, d.bar_to})
        line(dxf, w, kAxisLayerName, {end.x, end.y - d.bar_tick}, {end.x, end.y + d.bar_tick});
    text(dxf, w, kAxisLayerName, d.bar_text);
    w.sectionEnd();
    dxf.writeObjects(w);
    dxf.writeObjectsEnd(w);
    w.dxfEOF();
    return w.text();
}

void write_plan_dxf(const std::filesystem::path& file, const PlanDrawing& drawing) {
    write_file_atomically(file, plan_dxf(drawing));
}

}  // namespace ostrivane
