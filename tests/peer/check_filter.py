#!/usr/bin/env python3
"""Runs `ostrivane-cli filter` as LinuxCNC's AXIS runs a program filter - through `sh -c` with
the INI line's command and the file's quoted path, standard input closed - and checks what AXIS
reads: the G-code on standard output is byte for byte what `turn ... --output -` writes for the
same job, and rs274 accepts it; standard error carries FILTER_PROGRESS=N lines rising from 0 to
100; a job that fails exits with 1 and says why.
"""
import math
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from rs274_runner import arguments, fail, fresh_environment, interpret  # noqa: E402
from spline_file import write_spline  # noqa: E402

PROGRESS = re.compile(r"^FILTER_PROGRESS=(\d*)$")  # as AXIS matches it


def baluster(x):
    return 25 + 5 * math.sin(x / 7) - 3 * math.cos(x / 4)


# Each case: what is opened (a profile or a program), the fields of the program or of the data
# folder's Settings.ini, the options of the INI line, and the turn command it must equal.
CASES = {
    "profile": dict(opened="spl"),
    "program_with_fine_pass": dict(opened="gof", fields={"Sanding": "true", "resolution": "100"}),
    "settings_and_fast_rough": dict(opened="spl", settings={"runsdepth": "2"}, line=["--fast", "yes"],
                                    turn=["--fast", "yes"]),
    "beyond_the_axis_fails": dict(opened="spl", line=["--axis", "20"],
                                  turn=["--axis", "20", "--fast", "no"],
                                  rc=1),
}


def run_cli(cli, args, env):
    return subprocess.run([cli, *args], capture_output=True, env=env)


def main():
    args = arguments(CASES)
    case = CASES[args.case]
    with tempfile.TemporaryDirectory(prefix="ostrivane-filter-") as work:
        env = fresh_environment(work)
        env["AXIS_PROGRESS_BAR"] = "1"
        folder = os.path.join(work, "job's folder")  # a quote in the path, as AXIS quotes it
        os.makedirs(folder)
        spl = os.path.join(folder, "job.spl")
        write_spline(spl, [(x, baluster(x)) for x in range(0, 101, 5)])
        turn = ["turn", "--spline", spl]
        if case.get("settings"):
            data = os.path.join(work, "data", "Ostrivane")
            os.makedirs(data, exist_ok=True)
            settings = os.path.join(data, "Settings.ini")
            sets = [a for n, v in case["settings"].items() for a in ("--set", f"{n}={v}")]
            if run_cli(args.cli, ["program", "save", settings, *sets], env).returncode != 0:
                fail("could not write Settings.ini")
            turn += ["--program", settings]
        opened = spl
        if case["opened"] == "gof":
            opened = os.path.join(folder, "job.gof")
            sets = [a for n, v in case["fields"].items() for a in ("--set", f"{n}={v}")]
            if run_cli(args.cli, ["program", "save", opened, *sets], env).returncode != 0:
                fail("could not write the program file")
            turn += ["--program", opened]
        turn += case.get("turn", ["--fast", "no"]) + ["--output", "-"]
        expected = run_cli(args.cli, turn, env)

        line = " ".join([f"'{args.cli}'", "filter", *case.get("line", [])])
        quoted = opened.replace("'", "'\\''")
        done = subprocess.run(["sh", "-c", f"{line} '{quoted}'"], stdin=subprocess.DEVNULL,
                              capture_output=True, env=env)
        want_rc = case.get("rc", 0)
        if done.returncode != want_rc or expected.returncode != want_rc:
            fail(f"filter exited {done.returncode}, turn {expected.returncode}, expected {want_rc}:"
                 f"\n{done.stderr.decode()}")
        if done.stdout != expected.stdout:
            fail(f"standard output differs from turn --output - "
                 f"({len(done.stdout)} and {len(expected.stdout)} bytes)")
        stderr = done.stderr.decode().splitlines(keepends=True)
        progress = [int(m.group(1)) for m in (PROGRESS.match(l) for l in stderr) if m]
        messages = [l for l in stderr if not PROGRESS.match(l)]
        if not progress or progress[0] != 0 or progress[-1] != 100:
            fail(f"progress {progress[:3]} ... {progress[-3:]}, not from 0 to 100")
        if progress != sorted(progress):
            fail(f"progress goes back: {progress}")
        if want_rc != 0:
            if not any("failed" in m for m in messages):
                fail("a failed job does not say so:\n" + "".join(messages))
            print("failed as expected:", "".join(messages[-3:]).strip())
            return
        moves = interpret(args.rs274, done.stdout.decode("ascii"), work, env, timeout=120)
        if not moves:
            fail("rs274 reports no move")
        print(f"{len(done.stdout)} bytes, {len(moves)} moves, {len(progress)} progress lines")


if __name__ == "__main__":
    main()
