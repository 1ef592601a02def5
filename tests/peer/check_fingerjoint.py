#!/usr/bin/env python3
"""Runs a finger-joint program through LinuxCNC's interpreter (rs274) and checks the absolute
positions it reports against the tooth file written from the same fields.

For every slot of the tooth file the saw's passes must cover exactly the slot, from its left
to its right edge (the blade spans [x, x + saw width]), each pass plunging to the cut depth and
travelling the whole job height; the program must end below the work and return home.
"""
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from rs274_runner import (TOLERANCE, arguments, fail, fresh_environment,  # noqa: E402
                          interpret, near, program_position, run_cli, set_options)

DEFAULTS = {
    "cut_width": "10", "cut_depth": "10", "no_cuts": "2", "Pin_width": "10",
    "saw_width": "3.2", "jobheight": "3.2", "start_x": "0", "start_y": "0", "start_z": "0",
}

CASES = {
    "defaults": {},
    "odd_cuts_odd_passes": {"no_cuts": "3", "cut_width": "8.5"},
    "cut_equals_saw": {"no_cuts": "3", "cut_width": "3.2"},
    "within_pass_tolerance": {"saw_width": "4", "cut_width": "8.002", "Pin_width": "6"},
    "just_beyond_tolerance": {"saw_width": "4", "cut_width": "8.008", "no_cuts": "1"},
    "start_offset": {"start_x": "12.5", "start_y": "-3", "start_z": "5", "cut_depth": "7.25",
                     "jobheight": "19"},
    "swapped_inverted": {"GcodeX": "Z", "GCodeY": "X", "GCodeZ": "Y", "InvertY": "true",
                         "InvertZ": "true", "start_x": "-4", "no_cuts": "3",
                         "normfeed": "3.33", "finemillfeed": "1.5", "homefeed": "20"},
    "x_on_turning_axis": {"GcodeX": "W", "InvertX": "true", "start_x": "2", "no_cuts": "2"},
}

def check(fields, moves, tooth):
    saw = float(fields["saw_width"])
    pin = float(fields["Pin_width"])
    depth_y = float(fields["start_y"]) + float(fields["cut_depth"])
    bottom = -float(fields["start_z"])
    top = bottom + float(fields["jobheight"])
    teeth = int(tooth[0])
    if len(tooth) != 1 + 3 * teeth:
        fail(f"tooth file has {len(tooth)} lines for {teeth} teeth")

    slots = []
    previous = [0.0, 0.0, 0.0]
    final_down = None
    for feed, machine in moves:
        pos = program_position(machine, fields)
        dx, dy, dz = (pos[i] - previous[i] for i in range(3))
        in_work = near(previous[1], depth_y) and not near(depth_y, float(fields["start_y"]))
        if final_down is not None:
            if feed:
                fail(f"a feed move after the blade went down out of the work: {pos}")
        elif feed and not near(dz, 0):
            if not (near(dx, 0) and near(dy, 0)):
                fail(f"a pass moves sideways or in depth: {previous} -> {pos}")
            if {round(previous[2], 3), round(pos[2], 3)} != {round(bottom, 3), round(top, 3)}:
                fail(f"pass from Z {previous[2]} to {pos[2]}, not through the job height "
                     f"{bottom} .. {top}")
            if not near(pos[1], depth_y):
                # Only the last move may be outside the work: down, to end below it.
                if not (near(pos[1], float(fields["start_y"])) and near(pos[2], bottom)):
                    fail(f"pass at Y {pos[1]}, the cut depth is at {depth_y}")
                final_down = pos
                previous = pos
                continue
            if not slots or pos[0] - slots[-1][-1] > saw + pin / 2:
                slots.append([])
            slots[-1].append(pos[0])
        elif in_work and not (near(dx, 0) and near(dz, 0)):
            fail(f"the blade moves sideways inside the work: {previous} -> {pos}")
        previous = pos

    if len(slots) != teeth:
        fail(f"{len(slots)} slots sawn, the tooth file has {teeth}")
    for k, passes in enumerate(slots):
        left, right = float(tooth[1 + 3 * k]), float(tooth[2 + 3 * k])
        if not near(passes[0], left):
            fail(f"slot {k + 1}: first pass at {passes[0]}, left edge {left}")
        if not near(passes[-1] + saw, right):
            fail(f"slot {k + 1}: last pass ends at {passes[-1] + saw}, right edge {right}")
        for a, b in zip(passes, passes[1:]):
            if not 0 < b - a <= saw * 1.001 + TOLERANCE:
                fail(f"slot {k + 1}: passes at {a} and {b} leave material or go back")

    # Both G28 lines end the program: Y home (an intermediate point, then home), then one
    # rapid home; before them the blade is below the work.
    final = moves[-1][1]
    if any(not near(v, 0) for v in final):
        fail(f"the program does not end at home: {final}")
    before_home = program_position(moves[-3][1], fields)
    if not near(before_home[2], bottom):
        fail(f"the blade ends at Z {before_home[2]}, not below the work at {bottom}")
    return len(slots), sum(len(p) for p in slots)


def main():
    args = arguments(CASES)

    fields = dict(DEFAULTS)
    fields.update(CASES[args.case])
    with tempfile.TemporaryDirectory(prefix="ostrivane-peer-") as work:
        env = fresh_environment(work)
        ngc = os.path.join(work, "job.ngc")
        tnd = os.path.join(work, "job.tnd")
        settings = set_options(CASES[args.case])
        run_cli([args.cli, "fingerjoint", "--output", ngc] + settings, env)
        run_cli([args.cli, "tooth", "--output", tnd] + settings, env)
        with open(ngc, newline="") as f:
            program_text = f.read()
        with open(tnd) as f:
            tooth = [line.strip() for line in f]
        moves = interpret(args.rs274, program_text, work, env, timeout=60)
        slots, passes = check(fields, moves, tooth)
    print(f"{args.case}: rs274 accepted the program; {slots} slots, {passes} passes match the "
          "tooth file")


if __name__ == "__main__":
    main()
