"""What the peer checks share: running ostrivane-cli and LinuxCNC's interpreter (rs274) in a
fresh work folder, and reading the machine positions rs274 reports back into the program's own
axes."""
import argparse
import os
import re
import subprocess
import sys

TOLERANCE = 2e-4  # rs274 prints positions rounded to 4 decimals
MOVE = re.compile(r"(STRAIGHT_FEED|STRAIGHT_TRAVERSE)\(([^)]*)\)")
LETTER_INDEX = {"X": 0, "Y": 1, "Z": 2, "A": 3}


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def arguments(cases):
    """The command line of a check: the two programs it runs and the name of its case."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--rs274", default="rs274")
    parser.add_argument("--case", required=True, choices=sorted(cases))
    return parser.parse_args()


def fresh_environment(work):
    """rs274 keeps state in HOME, ostrivane-cli in the XDG folders: all of them inside `work`."""
    return dict(os.environ, HOME=work, XDG_DATA_HOME=os.path.join(work, "data"),
                XDG_DOCUMENTS_DIR=work)


def set_options(fields):
    """The command line's --set NAME=TEXT for every field."""
    options = []
    for name, value in fields.items():
        options += ["--set", f"{name}={value}"]
    return options


def run_cli(command, env):
    result = subprocess.run(command, capture_output=True, text=True, env=env)
    if result.returncode != 0:
        fail(f"{' '.join(command)} exited {result.returncode}: {result.stderr}")


def interpret(rs274, program_text, work, env, timeout):
    """The program's moves as rs274 reports them: (feed?, machine X Y Z A) each."""
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
                            capture_output=True, text=True, env=env, timeout=timeout)
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


def near(a, b, tolerance=TOLERANCE):
    return abs(a - b) <= tolerance
