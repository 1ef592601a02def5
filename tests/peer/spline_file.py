"""Writes spline files (.spl) for the turning checks: the version word, the profile's points
with their shape values, its fine-milling parts, the second spline's points and the recorded
moves, all little-endian."""
import struct

VERSION = 10120
POINT_MARKER = 860


def _points(points):
    out = struct.pack("<Hi", POINT_MARKER, len(points))
    for p in points:
        out += struct.pack("<dd", p[0], p[1])
    for p in points:
        # Shape values default to 1 (a plain cubic B-spline segment).
        out += struct.pack("<dd", p[2] if len(p) > 2 else 1.0, p[3] if len(p) > 3 else 1.0)
    return out


def spline_bytes(profile, parts=(), spline2=(), moves=()):
    out = struct.pack("<H", VERSION) + _points(profile)
    out += struct.pack("<H", len(parts))
    for a, b in parts:
        out += struct.pack("<dd", a, b)
    out += _points(spline2)
    out += struct.pack("<i", len(moves))
    for x, y in moves:
        out += struct.pack("<dd", x, y)
    return out


def write_spline(path, profile, parts=(), spline2=(), moves=()):
    with open(path, "wb") as f:
        f.write(spline_bytes(profile, parts, spline2, moves))
