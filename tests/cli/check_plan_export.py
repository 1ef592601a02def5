"""Reads the SVG and DXF drawings of `ostrivane-cli plan` back with independent readers and
compares them with the plan's own JSON: ezdxf for the DXF, rsvg-convert renderings for the SVG.

usage: check_plan_export.py CLI SPLINE WORK_DIR
"""
import json
import math
import os
import struct
import subprocess
import sys
import zlib
import xml.etree.ElementTree as ET

import ezdxf

TOLERANCE = 0.01  # mm
CLI, SPLINE, WORK = sys.argv[1], sys.argv[2], sys.argv[3]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def near(a, b, what, tolerance=TOLERANCE):
    check(abs(a - b) <= tolerance, f"{what}: {a} and {b} differ by more than {tolerance}")


def run(*args):
    done = subprocess.run([CLI, *args], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"{' '.join(args)} failed: {done.stderr}")
    return done.stdout


def extremes(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return min(xs), max(xs), min(ys), max(ys)


def half_length(points):
    return sum(math.dist(points[i], points[i + 1]) for i in range(len(points) - 1))


def plan(entry):
    return json.loads(run("plan", "--spline", SPLINE, "--plank", str(entry), "--json",
                          "--date", "01/02/2025"))


# --- DXF ------------------------------------------------------------------------------------
def check_dxf():
    every = os.path.join(WORK, "all.dxf")
    run("plan", "--spline", SPLINE, "--dxf", every)
    doc = ezdxf.readfile(every)
    check(doc.header.get("$INSUNITS") == 4, "$INSUNITS is 4 (millimetres)")
    entries = plan(1)["plank_list"]["entries"]
    layers = {layer.dxf.name for layer in doc.layers}
    for name in entries:
        check(name in layers, f"a layer named {name!r}")
    msp = doc.modelspace()
    boxes = []
    for entry, name in enumerate(entries, start=1):
        lines = msp.query(f'LWPOLYLINE[layer=="{name}"]')
        check(len(lines) == 1, f"one polyline on layer {name!r}")
        outline = lines[0]
        check(outline.closed, f"the outline of {name!r} is closed")
        points = [(p[0], p[1]) for p in outline.get_points("xy")]
        boxes.append(extremes(points))
        texts = [t.dxf.text for t in msp.query(f'TEXT[layer=="{name}"]')]
        check(any(str(entry) in t and name in t for t in texts), f"the plank's number on {name!r}")
        check("Karvik" in texts, f"the program name on {name!r}")
        # Each plank lies where its own plan has it, moved in y only: both halves about the axis.
        expected = plan(entry)["outline"]
        n = len(expected)
        check(len(points) == 2 * n, f"{name!r}: both halves of the {n} outline points")
        dy = points[0][1] - expected[0][1]
        if entry == 1:
            near(dy, 0, "the first plank lies where the plan has it")
        half = [(x, y - dy) for x, y in points[:n]]
        for got, want, label in zip(extremes(half), extremes(expected),
                                    ("xmin", "xmax", "ymin", "ymax")):
            near(got, want, f"{name!r} {label}")
        near(half_length(half), half_length(expected), f"{name!r} outline length")
        axis = 100 + dy
        for (x, y), (xe, ye) in zip(points[n:], reversed(expected)):
            near(x, xe, f"{name!r} mirrored x")
            near(2 * axis - y - dy, ye, f"{name!r} mirrored y")
    for i in range(len(boxes)):
        for j in range(i + 1, len(boxes)):
            a, b = boxes[i], boxes[j]
            apart = a[1] < b[0] or b[1] < a[0] or a[3] < b[2] or b[3] < a[2]
            check(apart, f"planks {i + 1} and {j + 1} do not overlap")
    axis_layer = [e for e in msp if e.dxf.layer not in entries]
    check(any(e.dxftype() == "LINE" and abs(e.dxf.end.x - e.dxf.start.x - 100) < 1e-9
              for e in axis_layer), "a 100 mm scale bar on a layer of its own")
    # --plank N exports that plank only, where its plan has it.
    one = os.path.join(WORK, "one.dxf")
    run("plan", "--spline", SPLINE, "--plank", "2", "--dxf", one)
    single = ezdxf.readfile(one).modelspace().query("LWPOLYLINE")
    check(len(single) == 1 and single[0].dxf.layer == entries[1], "--plank 2 exports plank 2")
    points = [(p[0], p[1]) for p in single[0].get_points("xy")]
    expected = plan(2)["outline"]
    for got, want in zip(extremes(points[:len(expected)]), extremes(expected)):
        near(got, want, "--plank 2 lies where its plan has it")
    # The drawing reads back as a profile: the outline's upper half.
    spl = os.path.join(WORK, "back.spl")
    run("spline", "import", one, "--output", spl)
    back = json.loads(run("spline", "show", spl))["profile"]["points"]
    upper = sorted((x, 200 - y) for x, y in expected)
    check(len(back) == len(upper), f"{len(back)} points read back, {len(upper)} expected")
    for (x, y, *_), (xe, ye) in zip(back, upper):
        near(x, xe, "imported x")
        near(y, ye, "imported y")


# --- SVG ------------------------------------------------------------------------------------
def png_alpha(path):
    """The alpha channel of an 8-bit RGBA PNG, as rows of values from 0 to 255."""
    data = open(path, "rb").read()
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        chunk = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", chunk[:10])
            assert depth == 8 and colour == 6, "rsvg-convert writes 8-bit RGBA"
        elif kind == b"IDAT":
            idat += chunk
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b = previous[i]
            c = previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line[3::4])
        previous = line
    return rows


def render_group(svg, group_id, path):
    """Only one group of the drawing, rendered with rsvg-convert at 1016 dpi (40 pixels per
    millimetre); the others are taken out of a copy of the file."""
    ET.register_namespace("", "http://www.w3.org/2000/svg")
    ET.register_namespace("inkscape", "http://www.inkscape.org/namespaces/inkscape")
    tree = ET.parse(svg)
    root = tree.getroot()
    for g in list(root):
        if g.tag.endswith("}g") and g.get("id") != group_id:
            root.remove(g)
    alone = path + ".svg"
    tree.write(alone)
    subprocess.run(["rsvg-convert", "--dpi-x", "1016", "--dpi-y", "1016", "-o", path, alone],
                   check=True)
    return png_alpha(path)


def ink_extent(rows):
    """The drawn extent in pixels, to a fraction of a pixel from the edge pixels' coverage."""
    cols = [max(col) for col in zip(*rows)]
    lines = [max(row) for row in rows]

    def edge(values):
        inked = [i for i, v in enumerate(values) if v > 0]
        first, last = inked[0], inked[-1]
        return first + 1 - values[first] / 255, last + values[last] / 255

    return edge(cols) + edge(lines)


def check_svg():
    svg = os.path.join(WORK, "one.svg")
    run("plan", "--spline", SPLINE, "--plank", "2", "--svg", svg)
    root = ET.parse(svg).getroot()
    ns = {"s": "http://www.w3.org/2000/svg"}
    width, height = root.get("width"), root.get("height")
    box = [float(v) for v in root.get("viewBox").split()]
    check(width == f"{box[2]:g}mm" and height == f"{box[3]:g}mm", "the viewBox counts millimetres")
    entries = plan(1)["plank_list"]["entries"]
    label = "{http://www.inkscape.org/namespaces/inkscape}label"
    groups = {g.get(label): g.get("id") for g in root.findall("s:g", ns)}
    check(entries[1] in groups, f"a group named {entries[1]!r}")
    check(len(groups) == 2, "the plank's group and the axis group")
    # The outline alone: its text lines go too, so only the path is measured.
    png = os.path.join(WORK, "outline.png")
    ET.register_namespace("", "http://www.w3.org/2000/svg")
    rows = None
    tree = ET.parse(svg)
    for text in tree.getroot().iter("{http://www.w3.org/2000/svg}text"):
        text.text = ""
    tree.write(svg + ".bare")
    rows = render_group(svg + ".bare", groups[entries[1]], png)
    per_mm = 1016 / 25.4
    x0, x1, y0, y1 = (v / per_mm for v in ink_extent(rows))
    stroke = 0.1  # round ends and corners: half of it beyond the outline everywhere
    expected = plan(2)["outline"]
    xmin, xmax, ymin, ymax = extremes(expected)
    axis = 100
    near(x1 - x0 - stroke, xmax - xmin, "rendered outline length")
    # Both halves: from the mirrored side's top to the plank's side, 2 (axis - ymin) high.
    near(y1 - y0 - stroke, 2 * (axis - ymin), "rendered outline height")


check_dxf()
check_svg()
if failures:
    sys.exit(f"{len(failures)} checks failed")
print("all checks passed")
