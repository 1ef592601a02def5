#!/usr/bin/env python3
"""Runs turning programs through LinuxCNC's interpreter (rs274) and checks the absolute
positions it reports against the profile they were made from.

Each case samples a smooth profile y = f(x) every millimetre into a spline file, writes the
turning program with `ostrivane-cli turn` and checks what the machine would do: the program is
accepted, Y never goes below its home, no rough plunge reaches above the profile under the saw
(less what is held back for the fine pass, plus a slot's depth where the saw lies wholly in the
slot), the fast rough pass judges the saw's two edges, the fine pass follows the profile within
the sampling tolerance, Z returns as documented, repetitions lay copies side by side, and the
recorded moves are reached.
"""
import math
import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from rs274_runner import (TOLERANCE, arguments, fail, fresh_environment,  # noqa: E402
                          interpret, near, program_position, run_cli, set_options)
from spline_file import write_spline  # noqa: E402

SAW = 4.5
PROFILE_SLACK = 0.06   # the profile's own sampling: YatX stops within 0.01 mm in x


def baluster(x):
    return 25 + 5 * math.sin(x / 7) - 3 * math.cos(x / 4)


def bump(x):
    return 10 + 12 * math.exp(-((x - 21) / 9) ** 2)


def low(x):
    return 5 + 0.5 * math.sin(x / 5)


CASES = {
    "rough_baluster": dict(f=baluster, length=100, fast="no"),
    "fast_baluster": dict(f=baluster, length=100, fast="yes",
                          fields={"runsdepth": "2", "Sjobheight": "0"}),
    "fine_parts": dict(f=baluster, length=100, fast="no", parts=[(10, 45), (55, 90)],
                       fields={"Sanding": "true", "resolution": "200", "runsheight": "2",
                               "Sjobheight": "6"}),
    "slot_next_to_a_bump": dict(f=bump, length=40, slots=[(10, 20, 1)],
                                fields={"UseTND": "true", "resolution": "50"}),
    "slots_from_second_spline": dict(f=baluster, length=100, slots=[(12, 22, 0), (50, 62, 0)],
                                     second=2.0,
                                     fields={"doublet": "true", "resolution": "100"}),
    "held_back_in_runs": dict(f=low, length=60, fast="no", parts=[(20, 40)],
                              fields={"Sanding": "true", "runsdepth": "3", "resolution": "100"}),
    "fast_held_back": dict(f=low, length=60, fast="yes", parts=[(5, 55)],
                           fields={"Sanding": "true", "runsdepth": "2", "Sjobheight": "0"}),
    "repetitions_and_moves": dict(f=bump, length=40, fast="no", moves=[(50, 5), (60, 0)],
                                  fields={"repeater": "2", "resolution": "100"}),
    "mapped_axes": dict(f=baluster, length=100, fast="no",
                        fields={"GcodeX": "W", "GCodeZ": "X", "InvertZ": "true",
                                "resolution": "100"}),
    # LinuxCNC configurations call the extra axis A: mapped to A, the axis that "mapped_axes"
    # writes as W is written as A, which rs274 reads as it stands (no W to rewrite).
    "turning_axis_as_a": dict(f=baluster, length=100, fast="no",
                              fields={"GcodeX": "A", "GCodeW": "A", "resolution": "100"}),
}


def lowest(f, a, b, step=0.01):
    n = max(1, int(math.ceil((b - a) / step)))
    return min(f(a + (b - a) * k / n) for k in range(n + 1))


def slope(f, x):
    return abs(f(x + 0.01) - f(x - 0.01)) / 0.02


def check(case, fields, positions):
    f = case["f"]
    xmax = case["length"] - 0.01
    jobheight = float(fields.get("Sjobheight", "3.2"))
    start_z = float(fields.get("PositionZ", "1"))
    fine = fields.get("Sanding") == "true"
    hold_back = 2.0 if fine else 0.0
    fast = case.get("fast") == "yes"
    copy_length = xmax if int(fields.get("repeater", "1")) > 1 else 0
    slots = case.get("slots", [])
    depth_of = (lambda l, r, d: case["second"]) if "second" in case else (lambda l, r, d: d)

    plunges = []
    fine_points = 0
    recorded_moves = False  # the moves end the program with feed moves of Y alone
    previous = [0.0, 0.0, 0.0]
    for feed, pos in positions:
        if pos[1] < -TOLERANCE:
            fail(f"Y below its home: {pos}")
        moved = [abs(pos[i] - previous[i]) > TOLERANCE for i in range(3)]
        recorded_moves |= feed and moved == [False, True, False]
        copy = 0 if copy_length == 0 else int((pos[0] + TOLERANCE) // copy_length)
        x = pos[0] - copy * copy_length
        if not feed and moved == [False, True, False] and near(previous[1], 0):
            plunges.append((pos[0], pos[1], pos[2]))
            if fast:
                # The fast pass judges the saw's two edges only (a bead between them is cut).
                limit = min(f(x), f(x + SAW))
            else:
                limit = lowest(f, x, x + SAW)
                for left, right, depth in slots:
                    if x >= left - 1e-6 and x + SAW <= min(right, xmax) + 1e-6:
                        limit += depth_of(left, right, depth)
            if pos[1] > max(0.0, limit - hold_back) + PROFILE_SLACK:
                fail(f"plunge at X {pos[0]:.4f} to Y {pos[1]:.4f} reaches above the profile "
                     f"under the saw ({limit - hold_back:.4f})")
            if abs(pos[2] - (start_z if jobheight < 1e-6 else 0)) > TOLERANCE:
                fail(f"plunge at Z {pos[2]}, expected it at the start of the job height")
        elif feed and moved[0] and pos[1] > TOLERANCE and fine and x < xmax - SAW + 0.01:
            # On the profile: the saw top never more than the tolerance above the lowest profile
            # under the blade, and never below the lowest profile under the blade's neighbouring
            # steps (where it comes down to clear a bead or the straight move between steps).
            under = lowest(f, x, x + SAW)
            around = lowest(f, x - 0.5, x + SAW + 0.5)
            slack = 0.02 + 0.02 * max(slope(f, x), slope(f, x + SAW))
            if pos[1] > under + 0.05 + slack or pos[1] < around - slack:
                fail(f"fine pass at X {x:.4f}: Y {pos[1]:.4f}, lowest profile under the saw "
                     f"{under:.4f}")
            fine_points += 1
        elif (not feed and moved[0] and not moved[1] and jobheight > 1e-6 and not fine
              and not recorded_moves):
            # Rough passes travel along X with the saw out of the work and Z at home.
            if not (near(pos[1], 0) and near(pos[2], 0)):
                fail(f"X travel at Y {pos[1]}, Z {pos[2]}")
        previous = pos
    if not plunges and fields.get("Roughing", "true") == "true":
        fail("no rough plunge at all")
    if fine and fine_points == 0:
        fail("no fine pass on the profile")
    if fine:
        # Z climbs by one share of the job height per run to full height.
        runs = int(fields.get("runsheight", "1"))
        z_levels = sorted({round(p[2], 3) for _, p in positions})
        want = {round(start_z + k * jobheight / runs, 3) for k in range(runs + 1)}
        if not want <= set(z_levels):
            fail(f"fine pass Z levels {z_levels}, expected {sorted(want)}")
    if copy_length:
        first = [p for p in plunges if p[0] < copy_length - TOLERANCE]
        second = [p for p in plunges if p[0] >= copy_length - TOLERANCE]
        if len(first) != len(second) or any(
                not near(b[0] - a[0], copy_length, 1e-3) or not near(a[1], b[1], 1e-3)
                for a, b in zip(first, second)):
            fail("the second copy is not the first one moved by the profile's length")
    # After the last copy the profile's x = 0 lies at the end of it: the moves start there.
    origin = int(fields.get("repeater", "1")) * copy_length
    for x, y in case.get("moves", []):
        if not any(near(p[0], origin + x, 1e-3) and near(p[1], y, 1e-3) for _, p in positions):
            fail(f"recorded move ({x}, {y}) never reached")
    final = positions[-1][1]
    if any(not near(v, 0) for v in final):
        fail(f"the program does not end at home: {final}")
    return len(plunges), fine_points


def main():
    args = arguments(CASES)
    case = CASES[args.case]
    fields = dict(case.get("fields", {}))

    with tempfile.TemporaryDirectory(prefix="ostrivane-peer-") as work:
        env = fresh_environment(work)
        f = case["f"]
        profile = [(float(x), f(x)) for x in range(case["length"] + 1)]
        spline2 = []
        if "second" in case:
            spline2 = [(float(x), f(x) + case["second"]) for x in range(-1, case["length"] + 2)]
        spl = os.path.join(work, "job.spl")
        write_spline(spl, profile, case.get("parts", ()), spline2, case.get("moves", ()))
        ngc = os.path.join(work, "job.ngc")
        command = [args.cli, "turn", "--spline", spl, "--output", ngc]
        if "fast" in case:
            command += ["--fast", case["fast"]]
        if "slots" in case:
            tnd = os.path.join(work, "job.tnd")
            with open(tnd, "w", newline="") as t:
                t.write(f"{len(case['slots'])}\r\n")
                for slot in case["slots"]:
                    t.write("".join(f"{v}\r\n" for v in slot))
            command += ["--tooth", tnd]
        command += set_options(fields)
        run_cli(command, env)
        with open(ngc, newline="") as g:
            program_text = g.read()
        if fields.get("GcodeX") == "A" and (re.search(r"W[-+.0-9]", program_text)
                                            or not re.search(r"A[-+.0-9]", program_text)):
            fail("the turning axis is not written as A")
        moves = interpret(args.rs274, program_text, work, env, timeout=300)
        positions = [(feed, program_position(m, fields)) for feed, m in moves]
        plunges, fine_points = check(case, fields, positions)
    print(f"{args.case}: rs274 accepted the program; {plunges} plunges and {fine_points} fine "
          "steps stay within the profile")


if __name__ == "__main__":
    main()
