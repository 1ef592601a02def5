#!/usr/bin/env python3
"""Runs a finger-joint program through LinuxCNC's interpreter (rs274) and checks the absolute
positions it reports against the tooth file written from the same fields.

For every slot of the tooth file the saw's passes must cover exactly the slot, from its left
to its right edge (the blade spans [x, x + saw width]), each pass plunging to the cut depth and
travelling the whole job height; the program must end below the work and return home.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

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

TOLERANCE = 2e-4  # rs274 prints positions rounded to 4 decimals
MOVE = re.compile(r"(STRAIGHT_FEED|STRAIGHT_TRAVERSE)\(([^)]*)\)")
LETTER_INDEX = {"X": 0, "Y": 1, "Z": 2, "A": 3}


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def run_cli(cli, command, settings, output, env):
    args = [cli, command, "--output", output]
    for name, value in settings.items():
        args += ["--set", f"{name}={value}"]
    result = subprocess.run(args, capture_output=True, text=True, env=env)
    if result.returncode != 0:
        fail(f"{' '.join(args)} exited {result.returncode}: {result.stderr}")


def interpret(rs274, program_text, work, env):
    # rs274 knows XYZABC only: the turning axis W is read as A.
    text = re.sub(r"W(?=[-+.0-9])", "A", program_text)
    program = os.path.join(work, "rs274.ngc")
    with open(program, "w", newline="") as f:
        f.write(text)
    tools = os.path.join(work, "tools.tbl")
    with open(tools, "w") as f:
        f.write("T1 P1 D0 Z0\n")
    params = os.path.join(work, "params.var")
    open(params, "w").close()
    out = os.path.join(work, "canon.txt")
    result = subprocess.run([rs274, "-g", "-t", tools, "-v", params, program, out],
                            capture_output=True, text=True, env=env, timeout=60)
    if result.returncode != 0:
        fail(f"rs274 refused the program (exit {result.returncode}):\n"
             f"{result.stdout}\n{result.stderr}")
    moves = []
    with open(out) as f:
        for line in f:
            m = MOVE.search(line)
            if m:
                values = [float(v) for v in m.group(2).split(",")]
                moves.append((m.group(1) == "STRAIGHT_FEED", values[:4]))
    return moves


def program_position(machine, fields):
    """Machine XYZA position -> the program's own X, Y, Z (mapping and inversion undone)."""
    position = []
    for axis, selector, invert in (("X", "GcodeX", "InvertX"), ("Y", "GCodeY", "InvertY"),
                                   ("Z", "GCodeZ", "InvertZ")):
        letter = fields.get(selector, axis)
        letter = "A" if letter == "W" else letter
        sign = -1.0 if fields.get(invert) == "true" else 1.0
        position.append(sign * machine[LETTER_INDEX[letter]])
    return position


def near(a, b):
    return abs(a - b) <= TOLERANCE


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
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--rs274", default="rs274")
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    args = parser.parse_args()

    fields = dict(DEFAULTS)
    fields.update(CASES[args.case])
    with tempfile.TemporaryDirectory(prefix="ostrivane-peer-") as work:
        # rs274 keeps state in HOME: a fresh one each run.
        env = dict(os.environ, HOME=work, XDG_DATA_HOME=os.path.join(work, "data"),
                   XDG_DOCUMENTS_DIR=work)
        ngc = os.path.join(work, "job.ngc")
        tnd = os.path.join(work, "job.tnd")
        run_cli(args.cli, "fingerjoint", CASES[args.case], ngc, env)
        run_cli(args.cli, "tooth", CASES[args.case], tnd, env)
        with open(ngc, newline="") as f:
            program_text = f.read()
        with open(tnd) as f:
            tooth = [line.strip() for line in f]
        moves = interpret(args.rs274, program_text, work, env)
        slots, passes = check(fields, moves, tooth)
    print(f"{args.case}: rs274 accepted the program; {slots} slots, {passes} passes match the "
          "tooth file")


if __name__ == "__main__":
    main()
