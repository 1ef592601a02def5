"""The envelope that `ostrivane-cli check` reads from a program, against one built here from
the canonical moves LinuxCNC's own interpreter (rs274) makes of the same program: the saw's top
(turning) or its depth into the face (finger joints) swept along every move."""
import json
import os
import subprocess
import sys
import tempfile

from rs274_runner import (arguments, fail, fresh_environment, interpret, program_position,
                          run_cli)

GOLDEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "golden")
# A golden case's program and the fields and files it was made with.
CASES = {
    "turning_rough": "turn_rough_baluster",
    "turning_slots": "turn_tooth_file",
    "turning_fine": "turn_fine_parts",
    "fingerjoint_defaults": "fingerjoint_defaults",
    "fingerjoint_mapped": "fingerjoint_mapped_inverted",
}
# rs274 rounds positions to 4 decimals; a sample that lies on a saw edge may fall either side.
HEIGHT_TOLERANCE = 2e-4
EDGE = 1e-3


def golden_job(name):
    """The words of the case's command line that describe the job (not its output)."""
    with open(os.path.join(GOLDEN, name, "args")) as f:
        words = [w.rstrip("\n").replace("@CASES@", GOLDEN) for w in f]
    job, fields, i = [], {}, 1
    while i < len(words):
        if words[i] in ("--output", "--fast"):
            i += 2
            continue
        if words[i] == "--set":
            key, _, value = words[i + 1].partition("=")
            fields[key] = value
        job.append(words[i])
        i += 1
    return job, fields


def sweep_height(segments, x, width):
    """The highest the bar [left, left + width] reached above x over all segments."""
    best = 0.0
    for (xa, ya), (xb, yb) in segments:
        dx = xb - xa
        if dx == 0:
            if xa <= x <= xa + width:
                best = max(best, ya, yb)
            continue
        t1, t2 = (x - width - xa) / dx, (x - xa) / dx
        lo, hi = max(0.0, min(t1, t2)), min(1.0, max(t1, t2))
        if lo > hi:
            continue
        best = max(best, ya + (yb - ya) * lo, ya + (yb - ya) * hi)
    return best


def main():
    args = arguments(CASES)
    name = CASES[args.case]
    job, fields = golden_job(name)
    program = os.path.join(GOLDEN, name, "expected.ngc")
    joint = args.case.startswith("fingerjoint")
    with tempfile.TemporaryDirectory(prefix="ostrivane-peer-") as work:
        env = fresh_environment(work)
        result = subprocess.run([args.cli, "check", program, "--json"] + job,
                                capture_output=True, text=True, env=env)
        if result.returncode not in (0, 3):
            fail(f"check exited {result.returncode}: {result.stderr}")
        report = json.loads(result.stdout)
        with open(program, newline="") as g:
            moves = interpret(args.rs274, g.read(), work, env, timeout=300)
    positions = [(0.0, 0.0, 0.0)] + [tuple(program_position(m, fields)) for _, m in moves]
    if joint:
        width = float(fields.get("saw_width", "3.2"))
        face = float(fields.get("start_y", "0"))
        segments = [((a[0], a[1] - face), (b[0], b[1] - face))
                    for a, b in zip(positions, positions[1:]) if a[2] != b[2]]
    else:
        width = float(fields.get("Ssaw_width", "4.5"))
        segments = [((a[0], a[1]), (b[0], b[1])) for a, b in zip(positions, positions[1:])]
    if report["kind"] != ("finger joint" if joint else "turning"):
        fail(f"the check took the program for a {report['kind']} program")
    compared = 0
    for x, y in report["envelope"]:
        around = [sweep_height(segments, x + d, width) for d in (-EDGE, 0.0, EDGE)]
        if not min(around) - HEIGHT_TOLERANCE <= y <= max(around) + HEIGHT_TOLERANCE:
            fail(f"at x {x} the check's envelope is {y}, rs274's moves give {around[1]}")
        compared += 1
    if compared < 50:
        fail(f"only {compared} envelope samples to compare")
    print(f"{args.case}: {compared} envelope samples agree with rs274's moves")


if __name__ == "__main__":
    main()
