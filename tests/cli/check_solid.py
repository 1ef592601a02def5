"""Reads the STL files of `ostrivane-cli solid` back with readers that share nothing with ours
(numpy-stl and admesh, from Debian) and holds them to the piece they are made of: one closed
part, consistently oriented, no degenerate or repeated facets, and the exact volume within
0.5 % - pi times the integral of r^2 along a profile evaluated here from the curve's own
formulas, and for a cut piece the area of the square beam cut by the circle along the envelope
the check reports. The picture of `solid --png` must show a piece, not a blank image.

usage: check_solid.py CLI WORK_DIR
"""
import json
import math
import os
import re
import struct
import subprocess
import sys
import zlib

import numpy
from stl import mesh as stl_mesh

CLI, WORK = sys.argv[1], sys.argv[2]
AXIS = 100.0
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def run(*args, expect=0):
    env = dict(os.environ, HOME=WORK, XDG_DATA_HOME=os.path.join(WORK, "data"),
               XDG_DOCUMENTS_DIR=WORK)
    done = subprocess.run([CLI, *args], capture_output=True, text=True, env=env)
    if done.returncode != expect:
        sys.exit(f"{' '.join(args)} exited {done.returncode}: {done.stderr}")
    return done.stdout


def spline_point(points, t):
    """The Beta-spline with all shape values 1 and its points as control vertices (match1
    off): boundary copies at -1, n + 1 and n + 2, segment s covering s - 1 ... s."""
    n = len(points) - 1
    v = [points[0]] + points + [points[n], points[n]]  # v[i + 1] is slot i
    if abs(n - t) < 1e-20:
        s, u = n, 1.0
    else:
        s, u = int(t) + 1, t - int(t)
    b1, b2 = 1.0, 1.0
    d0 = (2 * b1 ** 3, 4 * b1 ** 2 + 4 * b1 + b2, 2)
    d_1 = (d0[1], 6 * b1 ** 3 - 6 * b1, -6 * b1 ** 3 - 6 * b1 ** 2 - 3 * b2,
           2 * b1 ** 3 + 2 * b1 ** 2 + 2 * b1 + 2 * b2)
    d_0 = (2, 6 * b1, 6 * b1 ** 2 + 3 * b2, -2 * b1 ** 2 - 2 * b1 - 2 * b2 - 2)
    delta = d0[0] + d0[1] + 2
    a1 = 2 * u ** 3
    a0 = d_0[0] + u * (d_0[1] + u * (d_0[2] + u * d_0[3]))
    am1 = d_1[0] + u * (d_1[1] + u * (d_1[2] + u * d_1[3]))
    am2 = delta - a1 - a0 - am1
    weights = ((s - 2, am2), (s - 1, am1), (s, a0), (s + 1, a1))
    x = sum(w * v[i + 1][0] for i, w in weights) / delta
    y = sum(w * v[i + 1][1] for i, w in weights) / delta
    return x, y


def design_volume(points, slots=()):
    n = len(points) - 1
    steps = n * 4000
    total = 0.0
    xa, ya = spline_point(points, 0.0)
    for i in range(1, steps + 1):
        xb, yb = spline_point(points, i * n / steps)
        mid = (xa + xb) / 2
        depth = max([d for left, right, d in slots if left < mid < right] + [0.0])
        ra, rb = AXIS - ya - depth, AXIS - yb - depth
        total += math.pi * (xb - xa) * (ra * ra + ra * rb + rb * rb) / 3
        xa, ya = xb, yb
    return total


def square_circle_area(b, r):
    if r <= 0:
        return 0.0
    if r <= b:
        return math.pi * r * r
    if r >= b * math.sqrt(2):
        return 4 * b * b
    return math.pi * r * r - 4 * (r * r * math.acos(b / r) - b * math.sqrt(r * r - b * b))


def cut_volume(envelope, beam):
    total = 0.0
    for (xa, ea), (xb, eb) in zip(envelope, envelope[1:]):
        for k in range(8):
            f = (k + 0.5) / 8
            total += square_circle_area(beam / 2, AXIS - (ea + f * (eb - ea))) * (xb - xa) / 8
    return total


def signed_volume(piece):
    v = piece.vectors.astype(numpy.float64)
    return float(numpy.einsum("ij,ij->i", v[:, 0], numpy.cross(v[:, 1], v[:, 2])).sum() / 6)


def admesh_report(path):
    out = subprocess.run(["admesh", path], capture_output=True, text=True).stdout
    numbers = {}
    for key, pattern in (("parts", r"Number of parts\s*:\s*(\d+)"),
                         ("disconnected", r"Total disconnected facets\s*:\s*(\d+)"),
                         ("degenerate", r"Degenerate facets\s*:\s*(\d+)"),
                         ("backwards", r"Backwards edges\s*:\s*(\d+)"),
                         ("normals", r"Normals fixed\s*:\s*(\d+)"),
                         ("volume", r"Volume\s*:\s*([-0-9.]+)")):
        m = re.search(pattern, out)
        numbers[key] = float(m.group(1)) if m else None
    return numbers


def check_stl(name, path, exact):
    piece = stl_mesh.Mesh.from_file(path)
    triangles = piece.vectors.reshape(-1, 9)
    check(len(numpy.unique(numpy.sort(piece.vectors, axis=1).reshape(-1, 9), axis=0)) ==
          len(triangles), f"{name}: a facet repeated")
    areas = numpy.linalg.norm(numpy.cross(piece.v1 - piece.v0, piece.v2 - piece.v0), axis=1)
    check(numpy.all(areas > 0), f"{name}: a facet without area")
    # Closed and consistently oriented: every edge runs once each way. (numpy-stl's own
    # is_closed() sums the normals in single precision, which a closed mesh of many facets
    # fails by rounding alone.)
    corners = [tuple(map(tuple, t)) for t in piece.vectors.tolist()]
    edges = {}
    for t in corners:
        for a, b in ((t[0], t[1]), (t[1], t[2]), (t[2], t[0])):
            edges[(a, b)] = edges.get((a, b), 0) + 1
    check(all(n == 1 and edges.get((b, a)) == 1 for (a, b), n in edges.items()),
          f"{name}: an edge open or not run once each way")
    volume = signed_volume(piece)
    check(abs(volume - exact) <= 0.005 * exact,
          f"{name}: volume {volume:.1f} mm3, exact {exact:.1f} mm3")
    a = admesh_report(path)
    check(a["parts"] == 1, f"{name}: admesh counts {a['parts']} parts")
    for key in ("disconnected", "degenerate", "backwards", "normals"):
        check(a[key] == 0, f"{name}: admesh finds {a[key]} {key} facets or edges")
    check(a["volume"] is not None and abs(a["volume"] - exact) <= 0.005 * exact,
          f"{name}: admesh's volume {a['volume']}, exact {exact:.1f}")
    print(f"{name}: {len(triangles)} facets, volume {volume:.1f} of {exact:.1f} mm3")


def png_colours(path):
    """The distinct colours of an 8-bit RGB PNG and how many pixels are not the corner's."""
    with open(path, "rb") as f:
        data = f.read()
    check(data[:8] == b"\x89PNG\r\n\x1a\n", f"{path}: not a PNG")
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            check((depth, colour) == (8, 2), f"{path}: not 8-bit RGB")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 3 + 1
    pixels = set()
    background = raw[1:4]
    painted = 0
    for row in range(height):
        line = raw[row * stride:(row + 1) * stride]
        check(line[0] == 0, f"{path}: a row with a filter this check does not undo")
        for x in range(width):
            p = line[1 + 3 * x:4 + 3 * x]
            pixels.add(p)
            painted += p != background
    return width, height, len(pixels), painted


def write_points(name, points):
    path = os.path.join(WORK, name + ".txt")
    with open(path, "w") as f:
        f.writelines(f"{x};{y}\n" for x, y in points)
    spline = os.path.join(WORK, name + ".spl")
    run("spline", "import", path, "--output", spline)
    return spline


def main():
    os.makedirs(WORK, exist_ok=True)
    plain = ["--set", "match1=false"]
    profiles = {
        "vase": [(0, 70), (40, 52), (120, 64), (230, 48), (330, 66), (380, 75)],
        "ends_on_the_axis": [(0, 100), (20, 60), (60, 55), (100, 100)],
        "long_thin": [(0, 90), (300, 85), (600, 92), (900, 80), (1200, 95), (1500, 88)],
    }
    for name, points in profiles.items():
        spline = write_points(name, points)
        stl = os.path.join(WORK, name + ".stl")
        run("solid", "--spline", spline, *plain, "--stl", stl)
        check_stl(name, stl, design_volume(points))
    # A coarser tolerance, asked for, still keeps the volume.
    spline = os.path.join(WORK, "vase.spl")
    coarse = os.path.join(WORK, "vase_coarse.stl")
    run("solid", "--spline", spline, *plain, "--tolerance", "0.5", "--stl", coarse)
    check_stl("vase at 0.5 mm", coarse, design_volume(profiles["vase"]))
    check(os.path.getsize(coarse) < os.path.getsize(os.path.join(WORK, "vase.stl")) / 3,
          "a coarser tolerance gives a smaller file")

    # The piece as cut: rough, and rough with a fine pass, from beams of several sizes.
    for label, fields, beam in (("rough", [], "100"), ("fine", ["--set", "Sanding=true"], "150"),
                                ("narrow_beam", [], "60")):
        program = os.path.join(WORK, label + ".ngc")
        run("turn", "--spline", spline, *plain, *fields, "--fast", "no", "--output", program)
        report = json.loads(check_json(program, spline, plain + fields, beam))
        stl = os.path.join(WORK, label + "_cut.stl")
        run("solid", program, "--spline", spline, *plain, *fields, "--beam", beam, "--stl", stl)
        check_stl("as cut, " + label, stl, cut_volume(report["envelope"], float(beam)))

    picture = os.path.join(WORK, "vase.png")
    run("solid", "--spline", spline, "--png", picture, "--size", "320x200", "--view", "45")
    width, height, colours, painted = png_colours(picture)
    check((width, height) == (320, 200), f"picture of {width} x {height}")
    check(colours > 50, f"the picture has only {colours} colours: no shaded piece")
    check(painted > width * height // 10, f"only {painted} pixels show the piece")
    if failures:
        sys.exit(f"{len(failures)} failures")


def check_json(program, spline, fields, beam):
    env = dict(os.environ, HOME=WORK, XDG_DATA_HOME=os.path.join(WORK, "data"))
    done = subprocess.run([CLI, "check", program, "--spline", spline, *fields, "--beam", beam,
                           "--json"], capture_output=True, text=True, env=env)
    if done.returncode not in (0, 3):
        sys.exit(f"check of {program} exited {done.returncode}: {done.stderr}")
    return done.stdout


if __name__ == "__main__":
    main()
