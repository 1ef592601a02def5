#!/usr/bin/env python3
"""Runs a short finger-joint program on LinuxCNC's simulated machine (the timing rig, which
starts LinuxCNC 2.9 in user space and runs the program in real time) and compares the time the
machine took with the run time the check gives for the same program and machine file.

Skipped (exit 77) when the rig or LinuxCNC is not there.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
# The check's figure must lie this close to the machine's.
WITHIN = 0.01

# A joint of two slots, one pass each: some 6 s on the rig's machine.
FIELDS = {"no_cuts": "2", "cut_width": "3.2", "cut_depth": "4", "jobheight": "3.2",
          "normfeed": "15"}

CASES = {
    # As written: the finger-joint header asks for exact stop (G61).
    "joint_exact_stop": lambda text: text,
    # Without G61 the machine stays in the path mode it starts in, and blends.
    "joint_startup": lambda text: text.replace("G17 G91 G61\r\n", "G17 G91\r\n"),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--rig", default="")
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    a = parser.parse_args()
    run_lcnc = os.path.join(a.rig, "run_lcnc.py")
    ini = os.path.join(a.rig, "sim", "sim.ini")
    if not a.rig or not os.path.isfile(run_lcnc) or not os.path.isfile(ini):
        print(f"skipped: no timing rig at '{a.rig}'")
        return SKIP
    if shutil.which("linuxcnc") is None or not os.path.isfile("/usr/bin/python3"):
        print("skipped: LinuxCNC is not installed")
        return SKIP

    with tempfile.TemporaryDirectory() as work:
        # LinuxCNC's realtime part runs as another user, which must reach its folders here.
        os.chmod(work, 0o755)
        env = dict(os.environ, HOME=work, XDG_DATA_HOME=os.path.join(work, "data"),
                   XDG_DOCUMENTS_DIR=work, LCNC_HOME=os.path.join(work, "lcnc"))
        sets = [arg for name, value in FIELDS.items() for arg in ("--set", f"{name}={value}")]
        program = os.path.join(work, "joint.ngc")
        subprocess.run([a.cli, "fingerjoint", *sets, "--output", program], env=env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(program, newline="") as f:
            text = CASES[a.case](f.read())
        with open(program, "w", newline="") as f:
            f.write(text)

        checked = subprocess.run([a.cli, "check", program, *sets, "--machine", ini, "--json"],
                                 env=env, check=True, capture_output=True, text=True)
        ours = json.loads(checked.stdout)["run_time_s"]

        result = os.path.join(work, "lcnc.json")
        run = subprocess.run(["/usr/bin/python3", run_lcnc, "--repeat", "1",
                              "--session-per-program", "--json", result, program],
                             env=env, capture_output=True, text=True, timeout=300)
        if run.returncode != 0 or not os.path.isfile(result):
            # The rig not bringing LinuxCNC up, or losing it on the way (a machine too busy for
            # its start-up wait, another LinuxCNC in the way), says nothing about our figure.
            print(run.stdout + run.stderr)
            print("skipped: the simulated machine did not run the program")
            return SKIP
        with open(result) as f:
            runs = json.load(f)
        first = runs["runs"][0]
        messages = first.get("messages") or []
        if any("not homed" in m for m in messages):
            # The rig's homing did not finish: the machine never ran the program.
            print(f"skipped: the simulated machine was not ready ({messages})")
            return SKIP
        if messages:
            print(f"FAIL: LinuxCNC said {messages}")
            return 1
        machine = first["servo_s"]
        off = abs(ours - machine) / machine
        print(f"{a.case}: the check says {ours:.3f} s, the simulated machine took {machine:.3f} s "
              f"({100 * off:.2f} % apart)")
        if off > WITHIN:
            print(f"FAIL: more than {100 * WITHIN:.0f} % apart")
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
